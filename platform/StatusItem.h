#pragma once

#include <string>

// The button of the panel item: what shows the title.
class StatusButton {
public:
    virtual ~StatusButton() = default;
    // Replaces the text shown in the panel.
    virtual void setTitle(const std::string& title) = 0;
    // Draws the title with digits of equal width, so it does not jitter as it counts.
    virtual void useMonospacedDigitFont() = 0;
};

// The program's item in the desktop's panel.
class StatusItem {
public:
    // The width of the item follows its title.
    static constexpr double variableLength = -1.0;

    virtual ~StatusItem() = default;
    // The item's button, or nullptr when there is nothing to show it on.
    virtual StatusButton* button() = 0;
};
