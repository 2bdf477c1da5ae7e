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
        void setAction(std::function<void()> newAction) override { action = std::move(newAction); }
        void setSecondaryAction(std::function<void()> newAction) override {
            secondaryAction = std::move(newAction);
        }
        void performClick() override { ++clicksPerformed; }

        std::vector<std::string> titles;
        bool monospacedDigits = false;
        std::function<void()> action;
        std::function<void()> secondaryAction;
        int clicksPerformed = 0;
    };

    explicit RecordingStatusItem(bool withButton = true) {
        if (withButton) {
            ownButton = std::make_unique<Button>();
        }
    }

    StatusButton* button() override { return ownButton.get(); }
    void setMenu(QMenu* menu) override { attachedMenu = menu; }
    void offerMenuToPanel(QMenu* menu) override { panelMenu = menu; }

    Button* recordingButton() { return ownButton.get(); }
    QMenu* attachedMenu = nullptr;
    QMenu* panelMenu = nullptr;

    // The recorded titles; empty for an item without a button.
    const std::vector<std::string>& titles() const {
        static const std::vector<std::string> none;
        return ownButton ? ownButton->titles : none;
    }

private:
    std::unique_ptr<Button> ownButton;
};
