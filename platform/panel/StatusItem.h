#pragma once

#include <functional>
#include <string>

class QMenu;

// The button of the panel item: what shows the title and takes the clicks.
class StatusButton {
public:
    virtual ~StatusButton() = default;
    // Replaces the text shown in the panel.
    virtual void setTitle(const std::string& title) = 0;
    // Draws the title with digits of equal width, so it does not jitter as it counts.
    virtual void useMonospacedDigitFont() = 0;
    // What a left or right click does: every click that reaches the program
    // (a panel's activate and context-menu requests, and a panel opening the
    // item's menu) runs it first.
    virtual void setAction(std::function<void()> action) = 0;
    // What a middle click does.
    virtual void setSecondaryAction(std::function<void()> action) = 0;
    // Acts as if clicked: with a menu attached to the item, that menu shows at the item.
    virtual void performClick() = 0;
};

// The program's item in the desktop's panel.
class StatusItem {
public:
    // The width of the item follows its title.
    static constexpr double variableLength = -1.0;

    virtual ~StatusItem() = default;
    // The item's button, or nullptr when there is nothing to show it on.
    virtual StatusButton* button() = 0;
    // While a menu is attached, a click on the button shows it; nullptr detaches it.
    // The menu tells of its showing and closing through its aboutToShow and
    // aboutToHide signals, also when a panel draws it.
    virtual void setMenu(QMenu* menu) = 0;
    // Panels that draw an item's menu themselves are offered this one for the
    // whole run. It is not attached by this.
    virtual void offerMenuToPanel(QMenu* menu) = 0;
};
