// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppSettings.h"
#include "ScreenShareDetector.h"

#include <QCoreApplication>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QLabel;
class PayField;
class QVBoxLayout;

// The settings form: the store's settings but manual masking, each shown and
// edited in place by one control and written to the store at once; there is no Save or
// Cancel. Manual masking is not on the form. The form redraws from the store
// after every change of it, whoever made it, without writing anything back.
//
// It is meant to be a window's whole content: its size is fixed at its ideal
// size, and nothing in it wraps.
class SettingsView : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(SettingsView)

public:
    explicit SettingsView(AppSettings& settings, QWidget* parent = nullptr);
    ~SettingsView() override;

    SettingsView(const SettingsView&) = delete;
    SettingsView& operator=(const SettingsView&) = delete;

    // The rows of the hour pop-ups (0 to 23) and of the minute pop-ups (quarter hours).
    const std::vector<std::int64_t> hourOptions;
    const std::vector<std::int64_t> minuteOptions;
    // The rows of the break's length pop-up, in minutes; 0 is no break.
    const std::vector<std::int64_t> breakOptions;

    // The largest pay, daily or hourly, the form takes; no real one comes near it.
    static constexpr double largestDailyPay = 1e9;

    // Whether the title is masked now, and whether screen casts can be
    // detected at all. While masked, the pay shows as bullets unless the user
    // went into its field after the window opened: someone sharing the screen
    // must not show it by opening the window.
    void showMasking(bool masked, ScreenShareDetector::Detection detection);
    // Why no panel shows the program's item, in one line; empty while one does.
    void showPanelNote(const QString& note);

protected:
    // Closing the window ends an edit of the pay as Return does.
    void hideEvent(QHideEvent* event) override;

private:
    // The currency and amount fields of the pay row, and what the pay is per.
    QHBoxLayout* payFields();
    // A toggle for each day of the week, in the user's week order.
    QHBoxLayout* workDayToggles();
    // The break's time and its length.
    QHBoxLayout* breakFields();
    // The automatic masking toggle and its caption.
    QVBoxLayout* maskingGroup();
    // An hour pop-up, ":" and a minute pop-up; objectName prefixes the pop-ups' names.
    QHBoxLayout* timePicker(PropertyReference<std::int64_t> hour,
                            PropertyReference<std::int64_t> minute, const QString& objectName);
    // Rows show their value with two digits unless `text` is given.
    QComboBox* popUp(const std::vector<std::int64_t>& options,
                     PropertyReference<std::int64_t> value, const QString& objectName,
                     std::function<QString(std::int64_t)> text = {});

    // The store signals before it changes; read it once it has.
    void redrawSoon();
    void redraw();

    AppSettings& settings;
    ChangeSignal::Subscription subscription;
    // How each control shows its property, in the order the controls were made.
    std::vector<std::function<void()>> showCurrentValues;
    bool redrawPending = false;
    PayField* payField = nullptr;
    // Says why the last pay typed was not taken.
    QLabel* payNote = nullptr;
    // Says when automatic masking cannot work.
    QLabel* detectionNote = nullptr;
    QLabel* panelNote = nullptr;
    QLabel* payLabel = nullptr;
    // Takes the pay text being edited, if it is a number in range, and shows the amount in force.
    void finishPayEdit();
};
