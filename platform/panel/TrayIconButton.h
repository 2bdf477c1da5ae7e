// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusItem.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <memory>
#include <string>

class QIcon;
class StatusMenu;

// The item as an icon in an old-style X11 tray (XEmbed), over Qt's tray icon.
// An icon has no room for text: the title is its tooltip. Its clicks go where
// the item's own go.
class TrayIconButton final {
public:
    // Docks at once in the tray the X server has now.
    TrayIconButton(const QIcon& image, std::shared_ptr<const StatusItemEvents> events);

    // A left or right click that is answered with showMenu shows the menu at
    // the pointer, once it is told it opens.
    void setMenu(StatusMenu* menu);
    void setTitle(const std::string& title);

private:
    void clicked(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon icon;
    std::shared_ptr<const StatusItemEvents> events;
    QPointer<StatusMenu> menu;
};
