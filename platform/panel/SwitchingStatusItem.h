// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusItem.h"

#include <QAbstractNativeEventFilter>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class StatusNotifierItem;
class TrayIconButton;
class XAppStatusIcon;
class QTimer;

// The item wherever this desktop shows one: offered to the panel's
// StatusNotifierWatcher all along, and while no watcher is on the bus of an
// X11 session that has an old-style (XEmbed) tray, an icon in that tray as
// well. The icon goes the moment a watcher comes, so the two never show
// together. Where an XApp status applet shows icons (Cinnamon), it gets the
// item as an XApp icon instead, whose label it draws, and the notifier item
// leaves the bus meanwhile.
class SwitchingStatusItem final : public QObject,
                                  public StatusItem,
                                  private StatusButton,
                                  private QAbstractNativeEventFilter {
public:
    // The tray's image is made only when an icon docks: reading it loads an
    // image plug-in that most desktops never need.
    SwitchingStatusItem(std::unique_ptr<StatusNotifierItem> item,
                        std::unique_ptr<XAppStatusIcon> xappIcon, std::function<QIcon()> trayImage);
    ~SwitchingStatusItem() override;

    StatusButton* button() override { return this; }
    void setMenu(StatusMenu* menu, std::function<void()> willOpen) override;
    // Shown while a watcher has taken the item, an XApp applet shows icons, or
    // the icon sits in a tray.
    void setShownChanged(std::function<void(bool shown)> changed) override;

private:
    // What the button is given goes to the item, and to the icon while there is one.
    void setTitle(const std::string& title) override;
    void useMonospacedDigitFont() override;
    void setAction(std::function<ClickAnswer()> action) override;
    void setSecondaryAction(std::function<void()> action) override;

    // Trays come and go without a word on the bus: X11 tells of them.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // Docks or removes the icon as the watcher and the tray stand now.
    void follow();
    bool canDock() const;
    void dock();

    std::unique_ptr<StatusNotifierItem> item;
    // The item's own: the tray's icon tells the program through them too.
    std::shared_ptr<StatusItemEvents> events;
    std::unique_ptr<XAppStatusIcon> xappIcon;
    std::function<QIcon()> trayImage;
    std::unique_ptr<TrayIconButton> trayIcon;
    QTimer* trayCheck = nullptr;

    std::string title;
    QPointer<StatusMenu> menu;
    std::function<void(bool)> shownChanged;
    bool shown = false;
};
