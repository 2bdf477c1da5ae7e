// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsView.h"

#include "Application.h"
#include "LocaleNumberText.h"
#include "PanelWidgetRow.h"
#include "PayField.h"
#include "UserLocale.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <numeric>

namespace {

const int outerMargin = 24;
const int rootSpacing = 18;
const int gridColumnSpacing = 12;
const int gridRowSpacing = 14;
const int payFieldsSpacing = 6;
const int maskingGroupSpacing = 8;
const int currencyFieldWidth = 44;
const int amountFieldWidth = 120;
const int timePickerSpacing = 4;
const int popUpWidth = 64;
const int breakFieldsSpacing = 12;
const int workDaysSpacing = 2;

std::vector<std::int64_t> hoursOfTheDay() {
    std::vector<std::int64_t> hours(24);
    std::iota(hours.begin(), hours.end(), 0);
    return hours;
}

// Row texts are plain numbers, never translated: 0 as "00", 45 as "45".
QString rowText(std::int64_t value) {
    return QString::asprintf("%02lld", static_cast<long long>(value));
}

QLabel* plainLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* rowLabel(const QString& text) {
    auto* label = plainLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// The desktop's small font where the theme has one, else a step below the
// form's font; dimmed like placeholder text.
void styleAsCaption(QLabel* caption) {
    const QFont regular = caption->font();
    QFont small = QApplication::font("QSmallFont");
    if (!(small.pointSizeF() > 0 && small.pointSizeF() < regular.pointSizeF())) {
        small = regular;
        if (regular.pointSizeF() > 0) {
            small.setPointSizeF(regular.pointSizeF() * 0.85);
        } else {
            small.setPixelSize(regular.pixelSize() * 85 / 100);
        }
    }
    caption->setFont(small);
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    caption->setPalette(palette);
}

} // namespace

SettingsView::SettingsView(AppSettings& store, QWidget* parent)
    : QWidget(parent),
      hourOptions(hoursOfTheDay()), minuteOptions{0, 15, 30, 45}, breakOptions{0,  15, 30,
                                                                               45, 60, 90},
      settings(store) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(outerMargin, outerMargin, outerMargin, outerMargin);
    root->setSpacing(rootSpacing);
    // The form is as big as its content wants, never stretched or squeezed.
    root->setSizeConstraint(QLayout::SetFixedSize);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(gridColumnSpacing);
    grid->setVerticalSpacing(gridRowSpacing);
    grid->setAlignment(Qt::AlignLeft);
    const Qt::Alignment controlAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    payLabel = rowLabel(QString());
    grid->addWidget(payLabel, 0, 0);
    grid->addLayout(payFields(), 0, 1, controlAlignment);
    grid->addWidget(rowLabel(tr("Work days")), 1, 0);
    grid->addLayout(workDayToggles(), 1, 1, controlAlignment);
    grid->addWidget(rowLabel(tr("Day starts at")), 2, 0);
    grid->addLayout(
        timePicker(settings.startHourReference(), settings.startMinuteReference(), "start"), 2, 1,
        controlAlignment);
    grid->addWidget(rowLabel(tr("Day ends at")), 3, 0);
    grid->addLayout(timePicker(settings.endHourReference(), settings.endMinuteReference(), "end"),
                    3, 1, controlAlignment);
    //: Under the end of the working day when it is at or before its start: a night shift.
    auto* nextDayNote = plainLabel(tr("Ends the next day"));
    nextDayNote->setObjectName("nextDayNote");
    styleAsCaption(nextDayNote);
    grid->addWidget(nextDayNote, 4, 1, controlAlignment);
    showCurrentValues.push_back([this, nextDayNote] {
        const bool nextDay = settings.endHour() * 60 + settings.endMinute() <=
                             settings.startHour() * 60 + settings.startMinute();
        nextDayNote->setVisible(nextDay);
    });
    grid->addWidget(rowLabel(tr("Unpaid break")), 5, 0);
    grid->addLayout(breakFields(), 5, 1, controlAlignment);
    root->addLayout(grid);

    auto* divider = new QFrame;
    divider->setObjectName("divider");
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    root->addWidget(divider);

    root->addLayout(maskingGroup());

    redraw();
    subscription = settings.objectWillChange.subscribe([this] { redrawSoon(); });
}

SettingsView::~SettingsView() {
    settings.objectWillChange.unsubscribe(subscription);
    // Closing the form as it goes ends the pay edit once more, after its own parts are gone.
    QObject::disconnect(payField, nullptr, this, nullptr);
}

QHBoxLayout* SettingsView::payFields() {
    auto* currencyField = new QLineEdit;
    currencyField->setObjectName("currencyField");
    //: Shown in the narrow currency symbol field while it is empty; keep it short.
    currencyField->setPlaceholderText(tr("Currency"));
    currencyField->setFixedWidth(currencyFieldWidth);
    currencyField->setAlignment(Qt::AlignCenter);
    const auto currencySymbol = settings.currencySymbolReference();
    // Every change of the text is written as it stands, the empty text and spaces included.
    connect(currencyField, &QLineEdit::textEdited, this,
            [currencySymbol](const QString& text) { currencySymbol.set(text.toStdString()); });
    showCurrentValues.push_back([currencyField, currencySymbol] {
        const QString current = QString::fromStdString(currencySymbol.get());
        // Setting the same text again would move the cursor of someone typing.
        if (currencyField->text() != current) {
            currencyField->setText(current);
            // A symbol too long for the field shows its start, unless someone is typing.
            if (!currencyField->hasFocus()) {
                currencyField->setCursorPosition(0);
            }
        }
    });

    auto* amountField = new PayField;
    payField = amountField;
    amountField->setObjectName("amountField");
    //: Shown in the empty pay field: zero, written as the language writes it.
    amountField->setPlaceholderText(tr("0"));
    amountField->setFixedWidth(amountFieldWidth);
    connect(amountField, &QLineEdit::editingFinished, this, &SettingsView::finishPayEdit);
    // Quitting with the window open keeps the edit too.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        connect(application, &QCoreApplication::aboutToQuit, this, &SettingsView::finishPayEdit);
    }
    showCurrentValues.push_back([this, amountField] {
        // Text being typed stays as typed until the edit ends.
        if (amountField->isModified()) {
            return;
        }
        const QString current =
            QString::fromStdString(LocaleNumberText::format(settings.payInForce()));
        if (amountField->text() != current) {
            amountField->setText(current);
        }
    });

    auto* periodPopUp = new QComboBox;
    periodPopUp->setObjectName("payPeriodPopUp");
    periodPopUp->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    //: What the pay typed beside it is for: one working day ...
    periodPopUp->addItem(tr("per day"));
    //: ... or one hour of paid time.
    periodPopUp->addItem(tr("per hour"));
    connect(periodPopUp, &QComboBox::activated, this, [this](int row) {
        settings.setPayPeriod(row == 1 ? AppSettings::PayPeriod::hour
                                       : AppSettings::PayPeriod::day);
    });

    payNote = plainLabel(QString());
    payNote->setObjectName("payNote");
    styleAsCaption(payNote);
    payNote->hide();

    auto* fields = new QHBoxLayout;
    fields->setSpacing(payFieldsSpacing);
    fields->addWidget(currencyField);
    fields->addWidget(amountField);
    fields->addWidget(periodPopUp);
    fields->addWidget(payNote);

    showCurrentValues.push_back([this, periodPopUp] {
        const bool hourly = settings.payPeriod() == AppSettings::PayPeriod::hour;
        periodPopUp->setCurrentIndex(hourly ? 1 : 0);
        payLabel->setText(hourly ? tr("Hourly pay") : tr("Daily pay"));
        const QString largest = QString::fromStdString(LocaleNumberText::format(largestDailyPay));
        payNote->setText(hourly ? tr("Enter an hourly pay from 0 to %1").arg(largest)
                                : tr("Enter a daily pay from 0 to %1").arg(largest));
    });
    return fields;
}

QHBoxLayout* SettingsView::workDayToggles() {
    auto* toggles = new QHBoxLayout;
    toggles->setSpacing(workDaysSpacing);
    for (const auto& day : UserLocale::weekdays()) {
        auto* toggle = new QToolButton;
        toggle->setObjectName(QStringLiteral("workDay%1").arg(day.isoNumber));
        toggle->setText(QString::fromStdString(day.shortName));
        toggle->setCheckable(true);
        toggles->addWidget(toggle);
        const int weekday = day.isoNumber;
        // clicked comes from the user only. The days are written as digits
        // in order, whatever the stored text held besides them.
        connect(toggle, &QToolButton::clicked, this, [this, weekday](bool checked) {
            std::string days;
            for (int each = 1; each <= 7; ++each) {
                if (each == weekday ? checked : settings.worksOn(each)) {
                    days += static_cast<char>('0' + each);
                }
            }
            settings.setWorkDays(days);
        });
        showCurrentValues.push_back(
            [this, toggle, weekday] { toggle->setChecked(settings.worksOn(weekday)); });
    }
    return toggles;
}

QHBoxLayout* SettingsView::breakFields() {
    auto* fields = timePicker(settings.breakStartHourReference(),
                              settings.breakStartMinuteReference(), "break");
    fields->addSpacing(breakFieldsSpacing - timePickerSpacing);
    // A length chosen before any time keeps the time shown, so that what the
    // form shows is the break in force.
    PropertyReference<std::int64_t> length{[this] { return settings.breakMinutes(); },
                                           [this](std::int64_t minutes) {
                                               if (!settings.hasBreakStart()) {
                                                   settings.setBreakStartHour(
                                                       settings.breakStartHour());
                                               }
                                               settings.setBreakMinutes(minutes);
                                           }};
    fields->addWidget(
        popUp(breakOptions, std::move(length), "breakLengthPopUp", [](std::int64_t minutes) {
            //: The length of the unpaid break: no break at all.
            return minutes == 0 ? tr("none")
                                //: A length of the break, in minutes.
                                : tr("%1 min").arg(minutes);
        }));
    return fields;
}

QVBoxLayout* SettingsView::maskingGroup() {
    //: "Mask" as in the panel item's menu: the figure shows as dots ($•••.••).
    auto* toggle = new QCheckBox(tr("Mask automatically while screen sharing"));
    toggle->setObjectName("maskWhileScreenSharingToggle");
    const auto maskWhileScreenSharing = settings.maskWhileScreenSharingReference();
    // clicked, unlike toggled, comes from the user only, never from a redraw.
    connect(toggle, &QCheckBox::clicked, this,
            [maskWhileScreenSharing](bool checked) { maskWhileScreenSharing.set(checked); });
    showCurrentValues.push_back(
        [toggle, maskWhileScreenSharing] { toggle->setChecked(maskWhileScreenSharing.get()); });

    detectionNote = plainLabel(QString());
    detectionNote->setObjectName("detectionNote");
    styleAsCaption(detectionNote);
    detectionNote->hide();

    // What works here: no panel passes the keys held, and on Wayland the
    // program cannot ask for them.
    //: “Mask” is the menu item of that name, in this language's quotation marks.
    const QString withHeldKeys =
        tr("Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to "
           "toggle masking at any time.");
    //: Where held keys cannot be seen (Wayland); “Mask” as above.
    const QString withoutHeldKeys = tr("Middle-click the panel item, or choose “Mask” in its menu, "
                                       "to toggle masking at any time.");
    auto* caption = plainLabel(Application::seesHeldKeys() ? withHeldKeys : withoutHeldKeys);
    caption->setObjectName("caption");
    styleAsCaption(caption);

    panelNote = plainLabel(QString());
    panelNote->setObjectName("panelNote");
    styleAsCaption(panelNote);
    panelNote->hide();

    auto* group = new QVBoxLayout;
    group->setSpacing(maskingGroupSpacing);
    group->setAlignment(Qt::AlignLeft);
    group->addWidget(toggle);
    group->addWidget(detectionNote);
    group->addWidget(caption);
    group->addWidget(panelNote);
    group->addWidget(new PanelWidgetRow);
    return group;
}

QHBoxLayout* SettingsView::timePicker(PropertyReference<std::int64_t> hour,
                                      PropertyReference<std::int64_t> minute,
                                      const QString& objectName) {
    auto* picker = new QHBoxLayout;
    picker->setSpacing(timePickerSpacing);
    picker->addWidget(popUp(hourOptions, std::move(hour), objectName + "HourPopUp"));
    //: Between the hour and the minute of a time of day.
    auto* colon = plainLabel(tr(":"));
    colon->setObjectName(objectName + "Colon");
    picker->addWidget(colon);
    picker->addWidget(popUp(minuteOptions, std::move(minute), objectName + "MinutePopUp"));
    return picker;
}

QComboBox* SettingsView::popUp(const std::vector<std::int64_t>& options,
                               PropertyReference<std::int64_t> value, const QString& objectName,
                               std::function<QString(std::int64_t)> text) {
    auto* button = new QComboBox;
    button->setObjectName(objectName);
    if (!text) {
        text = rowText;
        button->setFixedWidth(popUpWidth);
    }
    for (const std::int64_t option : options) {
        button->addItem(text(option), QVariant::fromValue<qlonglong>(option));
    }
    // activated, unlike currentIndexChanged, comes from the user only.
    connect(button, &QComboBox::activated, this,
            [button, value](int row) { value.set(button->itemData(row).toLongLong()); });
    showCurrentValues.push_back([button, value, text] {
        const std::int64_t current = value.get();
        const int row = button->findData(QVariant::fromValue<qlonglong>(current));
        button->setCurrentIndex(row);
        // A value that is no row (a minute of 10 stored by hand) shows bare,
        // and stays stored until the user chooses a row.
        button->setPlaceholderText(row < 0 ? text(current) : QString());
    });
    return button;
}

// The pay is taken when the edit ends: on Return, on leaving the field, and
// when the window closes mid-edit. Half-typed text ("1" on the way to "1500",
// or on the way to an empty field) and text that is not wholly a number never
// become the pay. The field then shows the amount in force: "1234.567" as
// "1234.57", text that was no number as the amount before.
void SettingsView::finishPayEdit() {
    if (payField->isModified()) {
        const auto amount = LocaleNumberText::parse(payField->text().toStdString());
        const bool inRange = amount && *amount >= 0 && *amount <= largestDailyPay;
        if (inRange && settings.payPeriod() == AppSettings::PayPeriod::hour) {
            settings.setHourlyPay(*amount);
        } else if (inRange) {
            settings.setDailyPay(*amount);
        }
        // A number out of range says why nothing was taken, until the next edit ends.
        payNote->setVisible(amount && !inRange);
    }
    payField->setModified(false);
    redraw();
}

void SettingsView::showMasking(bool masked, ScreenShareDetector::Detection detection) {
    payField->setMasked(masked);
    // What this session can see, said plainly: on X11 most sharing bypasses PipeWire,
    // and only sharing windows and the reads the X server tells of show it.
    using PipeWire = ScreenShareDetector::PipeWire;
    QString note;
    if (detection.sharingWindows && detection.screenReads) {
        if (detection.pipeWire == PipeWire::missing) {
            note = tr("Screen sharing is detected for browsers, Zoom and programs that read the "
                      "screen, not for PipeWire casts: PipeWire is not installed");
        } else if (detection.pipeWire == PipeWire::notRunning) {
            note = tr("Screen sharing is detected for browsers, Zoom and programs that read the "
                      "screen, not for PipeWire casts: PipeWire is not running");
        } else {
            note = tr("Screen sharing is detected for browsers, Zoom and programs that read the "
                      "screen, and for PipeWire casts");
        }
    } else if (detection.sharingWindows) {
        if (detection.pipeWire == PipeWire::missing) {
            note = tr("Screen sharing is detected for browsers and Zoom only: PipeWire is not "
                      "installed");
        } else if (detection.pipeWire == PipeWire::notRunning) {
            note = tr("Screen sharing is detected for browsers and Zoom only: PipeWire is not "
                      "running");
        } else {
            note = tr("Screen sharing is detected for browsers and Zoom, and for PipeWire casts");
        }
    } else if (detection.pipeWire == PipeWire::missing) {
        note = tr("Screen casts cannot be detected: PipeWire is not installed");
    } else if (detection.pipeWire == PipeWire::notRunning) {
        note = tr("Screen casts cannot be detected: PipeWire is not running");
    }
    if (detectionNote->text() != note) {
        detectionNote->setText(note);
        detectionNote->setVisible(!note.isEmpty());
    }
}

void SettingsView::showPanelNote(const QString& note) {
    if (panelNote->text() != note) {
        panelNote->setText(note);
        panelNote->setVisible(!note.isEmpty());
    }
}

void SettingsView::hideEvent(QHideEvent* event) {
    finishPayEdit();
    payField->conceal();
    QWidget::hideEvent(event);
}

void SettingsView::redrawSoon() {
    if (redrawPending) {
        return;
    }
    redrawPending = true;
    // Queued on this object: dropped if the form is gone before the next turn.
    QMetaObject::invokeMethod(
        this,
        [this] {
            redrawPending = false;
            redraw();
        },
        Qt::QueuedConnection);
}

void SettingsView::redraw() {
    for (const auto& show : showCurrentValues) {
        show();
    }
}
