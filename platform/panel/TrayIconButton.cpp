// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayIconButton.h"

#include <QCursor>
#include <QMenu>

TrayIconButton::TrayIconButton(const QIcon& image) {
    icon.setIcon(image);
    QObject::connect(&icon, &QSystemTrayIcon::activated, &icon,
                     [this](QSystemTrayIcon::ActivationReason reason) { clicked(reason); });
    icon.show();
}

void TrayIconButton::setMenu(QMenu* newMenu, std::function<void()> willOpen) {
    menu = newMenu;
    menuWillOpen = std::move(willOpen);
}

void TrayIconButton::setTitle(const std::string& title) {
    const QString text = QString::fromStdString(title);
    if (icon.toolTip() != text) {
        icon.setToolTip(text);
    }
}

void TrayIconButton::setAction(std::function<ClickAnswer()> newAction) {
    action = std::move(newAction);
}

void TrayIconButton::setSecondaryAction(std::function<void()> newAction) {
    secondaryAction = std::move(newAction);
}

void TrayIconButton::clicked(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Context:
        // The tray draws no menus: every click is ours to answer.
        if (action && action() == ClickAnswer::showMenu && menu) {
            if (menuWillOpen) {
                menuWillOpen();
            }
            menu->popup(QCursor::pos());
        }
        break;
    case QSystemTrayIcon::MiddleClick:
        if (secondaryAction) {
            secondaryAction();
        }
        break;
    default:
        // A double click has already shown the menu with its first press.
        break;
    }
}
