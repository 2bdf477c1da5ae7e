// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

class StatusMenu;

// What the program answers to a click.
enum class ClickAnswer {
    handled,
    // Show the item's menu (where a panel draws it already, it stays open).
    showMenu,
};

// What a panel item tells the program happened. Every kind of item calls
// these, and an item made of others hands them all the same ones: nothing is
// stored twice or passed on by hand.
struct StatusItemEvents {
    // Every left or right click that reaches the program, however the panel
    // sends it: a request to act, or the panel opening the item's menu.
    std::function<ClickAnswer()> clicked;
    std::function<void()> middleClicked;
    // The item's menu opens, however it shows.
    std::function<void()> menuWillOpen;

    ClickAnswer click() const { return clicked ? clicked() : ClickAnswer::handled; }
    void middleClick() const {
        if (middleClicked) {
            middleClicked();
        }
    }
    void menuOpens() const {
        if (menuWillOpen) {
            menuWillOpen();
        }
    }
};

// The button of the panel item: what shows the title and takes the clicks.
class StatusButton {
public:
    virtual ~StatusButton() = default;
    // Replaces the text shown in the panel.
    virtual void setTitle(const std::string& title) = 0;
    // Draws the title with digits of equal width, so it does not jitter as it counts.
    virtual void useMonospacedDigitFont() = 0;
    // Every left or right click that reaches the program, however the panel
    // sends it: a request to act, or the panel opening the item's menu.
    virtual void setAction(std::function<ClickAnswer()> action) = 0;
    // What a middle click does.
    virtual void setSecondaryAction(std::function<void()> action) = 0;
};

// The program's item in the desktop's panel. Panels size an item to its title.
class StatusItem {
public:
    virtual ~StatusItem() = default;
    // The item's button, or nullptr when there is nothing to show it on.
    virtual StatusButton* button() = 0;
    // The item's menu for the whole run: panels that draw menus themselves
    // draw it, and a click answered with showMenu shows it. However it
    // shows, willOpen runs as it opens.
    virtual void setMenu(StatusMenu* menu, std::function<void()> willOpen) = 0;
    // Runs, from the event loop, each time a panel starts or stops showing
    // the item; a new item is shown nowhere until it says otherwise.
    virtual void setShownChanged(std::function<void(bool shown)> changed) = 0;
};
