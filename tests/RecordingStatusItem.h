#pragma once

#include "StatusItem.h"

#include <memory>
#include <string>
#include <vector>

// A status item that keeps every title its button was given.
class RecordingStatusItem : public StatusItem {
public:
    class Button : public StatusButton {
    public:
        void setTitle(const std::string& title) override { titles.push_back(title); }
        void useMonospacedDigitFont() override { monospacedDigits = true; }

        std::vector<std::string> titles;
        bool monospacedDigits = false;
    };

    explicit RecordingStatusItem(bool withButton = true) {
        if (withButton) {
            ownButton = std::make_unique<Button>();
        }
    }

    StatusButton* button() override { return ownButton.get(); }

    // The recorded titles; empty for an item without a button.
    const std::vector<std::string>& titles() const {
        static const std::vector<std::string> none;
        return ownButton ? ownButton->titles : none;
    }

private:
    std::unique_ptr<Button> ownButton;
};
