// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusItem.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>

class QIcon;
class QMenu;

// The item's button as an icon in an old-style X11 tray (XEmbed), over Qt's
// tray icon. An icon has no room for text: the title is its tooltip.
class TrayIconButton final : public StatusButton {
public:
    // Docks at once in the tray the X server has now.
    explicit TrayIconButton(const QIcon& image);

    // A left or right click that is answered with showMenu shows the menu at
    // the pointer; willOpen runs first.
    void setMenu(QMenu* menu, std::function<void()> willOpen);

    void setTitle(const std::string& title) override;
    // A tooltip's digits need no fixed width: nothing beside them moves.
    void useMonospacedDigitFont() override {}
    void setAction(std::function<ClickAnswer()> action) override;
    void setSecondaryAction(std::function<void()> action) override;

private:
    void clicked(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon icon;
    std::function<ClickAnswer()> action;
    std::function<void()> secondaryAction;
    QPointer<QMenu> menu;
    std::function<void()> menuWillOpen;
};
