// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayIconButton.h"

#include "StatusMenu.h"

#include <QCursor>
#include <QMenu>

TrayIconButton::TrayIconButton(const QIcon& image, std::shared_ptr<const StatusItemEvents> events)
    : events(std::move(events)) {
    icon.setIcon(image);
    QObject::connect(&icon, &QSystemTrayIcon::activated, &icon,
                     [this](QSystemTrayIcon::ActivationReason reason) { clicked(reason); });
    icon.show();
}

void TrayIconButton::setMenu(StatusMenu* newMenu) {
    menu = newMenu;
}

void TrayIconButton::setTitle(const std::string& title) {
    const QString text = QString::fromStdString(title);
    if (icon.toolTip() != text) {
        icon.setToolTip(text);
    }
}

void TrayIconButton::clicked(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Context:
        // The tray draws no menus: every click is ours to answer.
        if (events->click() == ClickAnswer::showMenu && menu) {
            events->menuOpens();
            menu->menu()->popup(QCursor::pos());
        }
        break;
    case QSystemTrayIcon::MiddleClick:
        events->middleClick();
        break;
    default:
        // A double click has already shown the menu with its first press.
        break;
    }
}
