// SPDX-License-Identifier: GPL-3.0-or-later
#include "SwitchingStatusItem.h"

#include "StatusMenu.h"
#include "StatusNotifierItem.h"
#include "TrayIconButton.h"
#include "XAppStatusIcon.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QTimer>
#include <xcb/xcb.h>

SwitchingStatusItem::SwitchingStatusItem(std::unique_ptr<StatusNotifierItem> notifierItem,
                                         std::unique_ptr<XAppStatusIcon> icon,
                                         std::function<QIcon()> image)
    : item(std::move(notifierItem)), events(item->sharedEvents()), xappIcon(std::move(icon)),
      trayImage(std::move(image)) {
    // The item is offered from the event loop, once the bus has said whether
    // an applet shows XApp icons; the program hears where it shows from there too.
    connect(item.get(), &StatusNotifierItem::hostingChanged, this, &SwitchingStatusItem::follow);
    connect(xappIcon.get(), &XAppStatusIcon::servedChanged, this, &SwitchingStatusItem::follow);
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        trayCheck = new QTimer(this);
        trayCheck->setSingleShot(true);
        // Once Qt has taken in the event too.
        trayCheck->setInterval(0);
        connect(trayCheck, &QTimer::timeout, this, &SwitchingStatusItem::follow);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    // From the event loop, so that launch has set the title and the menu.
    QMetaObject::invokeMethod(this, &SwitchingStatusItem::follow, Qt::QueuedConnection);
}

SwitchingStatusItem::~SwitchingStatusItem() {
    if (trayCheck) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

// The notifier item keeps what the program is told to do; the tray's icon shares it.
void SwitchingStatusItem::setMenu(StatusMenu* newMenu, std::function<void()> willOpen) {
    menu = newMenu;
    item->setMenu(newMenu, std::move(willOpen));
    xappIcon->setMenu(newMenu);
    if (trayIcon) {
        trayIcon->setMenu(menu);
    }
}

void SwitchingStatusItem::setShownChanged(std::function<void(bool shown)> changed) {
    shownChanged = std::move(changed);
}

void SwitchingStatusItem::setTitle(const std::string& newTitle) {
    title = newTitle;
    if (StatusButton* itemButton = item->button()) {
        itemButton->setTitle(title);
    }
    xappIcon->setTitle(QString::fromStdString(title));
    if (trayIcon) {
        trayIcon->setTitle(title);
    }
}

void SwitchingStatusItem::useMonospacedDigitFont() {
    if (StatusButton* itemButton = item->button()) {
        itemButton->useMonospacedDigitFont();
    }
}

void SwitchingStatusItem::setAction(std::function<ClickAnswer()> newAction) {
    events->clicked = std::move(newAction);
}

void SwitchingStatusItem::setSecondaryAction(std::function<void()> newAction) {
    events->middleClicked = std::move(newAction);
}

bool SwitchingStatusItem::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" ||
        item->hosting() != StatusNotifierItem::Hosting::noWatcher) {
        return false;
    }
    // A new tray announces itself to every client with a message (MANAGER);
    // a tray that ends destroys its window.
    const auto kind = static_cast<xcb_generic_event_t*>(message)->response_type & ~0x80;
    if (kind == XCB_CLIENT_MESSAGE || kind == XCB_DESTROY_NOTIFY) {
        trayCheck->start();
    }
    return false;
}

void SwitchingStatusItem::follow() {
    if (!xappIcon->knowsApplets() && !xappIcon->served()) {
        return;
    }
    // Offered to the watcher as well, the item would come twice: Cinnamon's
    // watcher turns it into an XApp icon of its own, without the label.
    item->setWithdrawn(xappIcon->served());
    if (item->hosting() != StatusNotifierItem::Hosting::noWatcher) {
        trayIcon.reset();
    } else if (trayIcon && !QSystemTrayIcon::isSystemTrayAvailable()) {
        trayIcon.reset();
    } else if (!trayIcon && canDock()) {
        dock();
    }
    const bool nowShown =
        xappIcon->served() || item->hosting() == StatusNotifierItem::Hosting::taken || trayIcon;
    if (nowShown != shown) {
        shown = nowShown;
        if (shownChanged) {
            shownChanged(shown);
        }
    }
}

bool SwitchingStatusItem::canDock() const {
    if (!trayCheck) {
        return false; // not X11
    }
    // Qt's tray icon becomes a StatusNotifierItem of its own, for the whole
    // run, if a watcher is on the bus when Qt first looks: it is first
    // asked for only once the bus is known to have none, just now.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() &&
        bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        return false;
    }
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SwitchingStatusItem::dock() {
    trayIcon = std::make_unique<TrayIconButton>(trayImage(), events);
    trayIcon->setTitle(title);
    if (menu) {
        trayIcon->setMenu(menu);
    }
}
