// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusItem.h"
#include "XAppApplets.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <memory>

class StatusMenu;
class QTimer;

// The item as XApp's status applets (Cinnamon's panel, MATE's XApp applet)
// take icons: an org.x.StatusIcon, whose label they draw beside the icon with
// no setting to turn on. It is on the bus only while such an applet watches
// for icons; what it shows and its clicks are the item's own.
class XAppStatusIcon final : public QObject {
    Q_OBJECT
    // What the applets read (org.x.StatusIcon.xml).
    Q_PROPERTY(QString Name READ name)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(QString TooltipText READ tooltipText)
    Q_PROPERTY(QString Label READ label)
    Q_PROPERTY(bool Visible READ visible)
    Q_PROPERTY(int IconSize READ iconSize WRITE setIconSize)
    Q_PROPERTY(bool PrimaryMenuIsOpen READ primaryMenuIsOpen)
    Q_PROPERTY(bool SecondaryMenuIsOpen READ secondaryMenuIsOpen)
    Q_PROPERTY(QString Metadata READ metadata)

public:
    // iconName: a theme's icon name or an image file's absolute path. On a
    // connection that is not open the icon is never served.
    XAppStatusIcon(QDBusConnection connection, QString name, QString iconName,
                   std::shared_ptr<const StatusItemEvents> events);
    ~XAppStatusIcon() override;

    // Whether an applet watches for icons, so that the icon is on the bus.
    bool served() const { return isServed; }
    // Whether the bus has said which applets are there: until then the icon
    // is not served, and may yet be.
    bool knowsApplets() const { return applets.known(); }
    // The label, and the tooltip for when the pointer rests on it. An applet
    // already there when the icon is made reads it only from the event loop,
    // once launch has given it the title.
    void setTitle(const QString& title);
    // Opened by a left or a right click that is answered with showMenu.
    void setMenu(StatusMenu* menu);

    QString name() const { return ownName; }
    QString iconName() const { return ownIconName; }
    // Empty while the menu is open: MATE's applet would draw it over the menu.
    QString tooltipText() const {
        return openMenu == Menu::none ? labelText.toHtmlEscaped() : QString();
    }
    QString label() const { return labelText; }
    bool visible() const { return true; }
    int iconSize() const { return panelIconSize; }
    void setIconSize(int size) { panelIconSize = size; }
    bool primaryMenuIsOpen() const { return openMenu == Menu::primary; }
    bool secondaryMenuIsOpen() const { return openMenu == Menu::secondary; }
    QString metadata() const;

Q_SIGNALS:
    // Also once the applets are first known, served or not.
    void servedChanged();

public:
    // Clicks as the applets send them, a press and a release each.
    void ButtonPress(int x, int y, uint button, uint time, int panelPosition);
    void ButtonRelease(int x, int y, uint button, uint time, int panelPosition);
    void Scroll(int delta, int orientation, uint time);

private:
    enum class Menu { none, primary, secondary };

    void appletsChanged();
    // Whether the icon came or left.
    bool follow();
    void serve();
    void withdraw();
    void tellChanged(const QVariantMap& properties);
    void setOpenMenu(Menu menu);

    QDBusConnection connection;
    QString ownName;
    QString ownIconName;
    QString busName;
    std::shared_ptr<const StatusItemEvents> events;
    QString labelText;
    int panelIconSize = 0;
    Menu openMenu = Menu::none;
    // The button whose press came last, released to act.
    uint pressedButton = 0;
    QPointer<StatusMenu> menu;

    XAppApplets& applets;
    // Whether the bus's first answer on the applets was told.
    bool answerTold = false;
    // A panel that restarts has its applet back within moments: the icon
    // waits that long before it leaves the bus.
    QTimer* lastMonitorGone = nullptr;
    QObject* objectManager = nullptr;
    bool isServed = false;
};
