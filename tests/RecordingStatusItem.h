// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusItem.h"

#include <functional>
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
        void setAction(std::function<ClickAnswer()> newAction) override {
            action = std::move(newAction);
        }
        void setSecondaryAction(std::function<void()> newAction) override {
            secondaryAction = std::move(newAction);
        }

        std::vector<std::string> titles;
        bool monospacedDigits = false;
        std::function<ClickAnswer()> action;
        std::function<void()> secondaryAction;
    };

    explicit RecordingStatusItem(bool withButton = true) {
        if (withButton) {
            ownButton = std::make_unique<Button>();
        }
    }

    StatusButton* button() override { return ownButton.get(); }
    void setMenu(StatusMenu* menu, std::function<void()> willOpen) override {
        itemMenu = menu;
        menuWillOpen = std::move(willOpen);
    }
    void setShownChanged(std::function<void(bool)> changed) override {
        shownChanged = std::move(changed);
    }

    Button* recordingButton() { return ownButton.get(); }
    StatusMenu* itemMenu = nullptr;
    std::function<void()> menuWillOpen;
    std::function<void(bool)> shownChanged;

    // The recorded titles; empty for an item without a button.
    const std::vector<std::string>& titles() const {
        static const std::vector<std::string> none;
        return ownButton ? ownButton->titles : none;
    }

private:
    std::unique_ptr<Button> ownButton;
};
