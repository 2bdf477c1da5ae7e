// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsView.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class SettingsViewTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path file = folder / "tallyglow" / "tallyglow.conf";
    ScopedEnvironment locale{"LC_ALL", "en_US.UTF-8"};
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<SettingsView> view;
    int signalCount = 0;

    void open() {
        settings = AppSettingsTesting::make(std::make_shared<Defaults>(file));
        settings->objectWillChange.subscribe([this] { ++signalCount; });
        view = std::make_unique<SettingsView>(*settings);
        view->show();
        QApplication::processEvents();
    }
    void openWith(const std::string& lines) {
        writeWholeFile(file, "[General]\n" + lines);
        open();
    }
    void TearDown() override {
        view.reset();
        QApplication::processEvents();
    }

    template <typename Widget> Widget* child(const char* name) const {
        auto* widget = view->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* currencyField() const { return child<QLineEdit>("currencyField"); }
    QLineEdit* amountField() const { return child<QLineEdit>("amountField"); }
    QCheckBox* maskToggle() const { return child<QCheckBox>("maskWhileScreenSharingToggle"); }

    QString stored(const char* key) const {
        return QSettings(QString::fromStdString(file.string()), QSettings::IniFormat)
            .value(key)
            .toString();
    }
    QStringList storedKeys() const {
        return QSettings(QString::fromStdString(file.string()), QSettings::IniFormat).allKeys();
    }

    // As a user does it: select all, then type.
    static void retype(QLineEdit* field, const QString& text) {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    // Opens the pop-up, moves to the row with that text and takes it with Return.
    static void choose(QComboBox* popUp, const QString& rowText) {
        const int row = popUp->findText(rowText);
        ASSERT_GE(row, 0) << rowText.toStdString();
        popUp->showPopup();
        QAbstractItemView* list = popUp->view();
        ASSERT_TRUE(list->isVisible());
        list->setCurrentIndex(popUp->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_FALSE(list->isVisible());
        QApplication::processEvents();
    }

    // Where a widget sits inside the form.
    QRect inForm(const QWidget* widget) const {
        return QRect(widget->mapTo(view.get(), QPoint(0, 0)), widget->size());
    }
};

// The controls and the values they show, as text; the work days as the
// digits of the checked toggles in the order they stand.
struct Shown {
    QString currency, amount, startHour, startMinute, endHour, endMinute;
    bool mask;
    QString period = "per day", workDays = "7123456", breakTime = "12:00", breakLength = "none";
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown) {
    return out << shown.currency.toStdString() << " " << shown.amount.toStdString() << " "
               << shown.startHour.toStdString() << ":" << shown.startMinute.toStdString() << " "
               << shown.endHour.toStdString() << ":" << shown.endMinute.toStdString() << " "
               << shown.mask << " " << shown.period.toStdString() << " "
               << shown.workDays.toStdString() << " " << shown.breakTime.toStdString() << " "
               << shown.breakLength.toStdString();
}

class SettingsViewShows : public SettingsViewTest {
protected:
    Shown shown() const {
        const auto popUp = [this](const char* name) {
            const auto* button = child<QComboBox>(name);
            return button->currentIndex() >= 0 ? button->currentText()
                                               : "bare " + button->placeholderText();
        };
        Shown result{currencyField()->text(),   amountField()->text(), popUp("startHourPopUp"),
                     popUp("startMinutePopUp"), popUp("endHourPopUp"), popUp("endMinutePopUp"),
                     maskToggle()->isChecked()};
        result.period = popUp("payPeriodPopUp");
        result.workDays.clear();
        for (const auto* toggle : view->findChildren<QToolButton*>()) {
            result.workDays += toggle->isChecked() ? toggle->objectName().right(1) : QString();
        }
        result.breakTime = popUp("breakHourPopUp") + ":" + popUp("breakMinutePopUp");
        result.breakLength = popUp("breakLengthPopUp");
        return result;
    }
};

TEST_F(SettingsViewTest, TheTreeHoldsItsTextsAndControlsInOrder) {
    open();
    auto* root = qobject_cast<QVBoxLayout*>(view->layout());
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->count(), 3);
    auto* grid = qobject_cast<QGridLayout*>(root->itemAt(0)->layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(root->itemAt(1)->widget(), child<QFrame>("divider"));
    EXPECT_EQ(child<QFrame>("divider")->frameShape(), QFrame::HLine);
    auto* maskingGroup = qobject_cast<QVBoxLayout*>(root->itemAt(2)->layout());
    ASSERT_NE(maskingGroup, nullptr);
    EXPECT_EQ(maskingGroup->itemAt(0)->widget(), maskToggle());
    EXPECT_EQ(maskingGroup->itemAt(1)->widget(), child<QLabel>("detectionNote"));
    EXPECT_EQ(maskingGroup->itemAt(2)->widget(), child<QLabel>("caption"));

    ASSERT_EQ(grid->rowCount(), 6);
    ASSERT_EQ(grid->columnCount(), 2);
    const char* labels[] = {"Daily pay", "Day starts at", "Day ends at"};
    const std::vector<std::vector<QWidget*>> controls = {
        {currencyField(), amountField(), child<QComboBox>("payPeriodPopUp"),
         child<QLabel>("payNote")},
        {child<QComboBox>("startHourPopUp"), child<QLabel>("startColon"),
         child<QComboBox>("startMinutePopUp")},
        {child<QComboBox>("endHourPopUp"), child<QLabel>("endColon"),
         child<QComboBox>("endMinutePopUp")},
    };
    for (const int row : {0, 2, 3}) {
        auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), labels[row ? row - 1 : 0]);
        QLayout* cell = grid->itemAtPosition(row, 1)->layout();
        ASSERT_NE(cell, nullptr);
        const auto& expected = controls[row ? row - 1 : 0];
        ASSERT_EQ(cell->count(), static_cast<int>(expected.size()));
        for (int index = 0; index < cell->count(); ++index) {
            EXPECT_EQ(cell->itemAt(index)->widget(), expected[index]) << row << index;
        }
    }
    EXPECT_EQ(currencyField()->placeholderText(), "Currency");
    EXPECT_EQ(amountField()->placeholderText(), "0");
    EXPECT_EQ(child<QLabel>("startColon")->text(), ":");
    EXPECT_EQ(maskToggle()->text(), "Mask automatically while screen sharing");
    EXPECT_EQ(child<QLabel>("caption")->text(),
              "Middle-click or Shift-click the panel item, or choose “Mask” in its menu, to toggle "
              "masking at any time.");
    for (const auto* label : view->findChildren<QLabel*>()) {
        EXPECT_FALSE(label->wordWrap()) << label->text().toStdString();
    }
    // The caption is smaller and dimmer than the toggle's label.
    const auto* caption = child<QLabel>("caption");
    EXPECT_LT(caption->font().pointSizeF(), maskToggle()->font().pointSizeF());
    EXPECT_NE(caption->palette().color(QPalette::WindowText),
              maskToggle()->palette().color(QPalette::WindowText));
}

TEST_F(SettingsViewTest, SizesSpacingsAndAlignmentsAreAsLaidOut) {
    open();
    const QRect currency = inForm(currencyField());
    const QRect amount = inForm(amountField());
    EXPECT_EQ(currency.width(), 44);
    EXPECT_EQ(amount.width(), 120);
    EXPECT_EQ(amount.left() - currency.right() - 1, 6);
    EXPECT_EQ(currencyField()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(amountField()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

    for (const char* name : {"start", "end"}) {
        const QString prefix = name;
        const QRect hour = inForm(child<QComboBox>((prefix + "HourPopUp").toUtf8()));
        const QRect colon = inForm(child<QLabel>((prefix + "Colon").toUtf8()));
        const QRect minute = inForm(child<QComboBox>((prefix + "MinutePopUp").toUtf8()));
        EXPECT_EQ(hour.width(), 64) << name;
        EXPECT_EQ(minute.width(), 64) << name;
        EXPECT_EQ(colon.left() - hour.right() - 1, 4) << name;
        EXPECT_EQ(minute.left() - colon.right() - 1, 4) << name;
        EXPECT_NEAR(colon.center().y(), hour.center().y(), 1) << name;
    }

    auto* grid = qobject_cast<QGridLayout*>(view->layout()->itemAt(0)->layout());
    ASSERT_NE(grid, nullptr);
    // Labels end flush against the controls' column, 12 apart; rows 14 apart.
    const QRect firstLabelCell = grid->cellRect(0, 0);
    EXPECT_EQ(firstLabelCell.topLeft(), QPoint(24, 24));
    EXPECT_EQ(grid->cellRect(0, 1).left() - firstLabelCell.right() - 1, 12);
    for (int row = 0; row < 3; ++row) {
        const QRect label = grid->itemAtPosition(row, 0)->widget()->geometry();
        const QRect control = grid->itemAtPosition(row, 1)->geometry();
        const QRect labelCell = grid->cellRect(row, 0);
        EXPECT_EQ(label.right(), labelCell.right()) << row;
        EXPECT_EQ(control.left(), grid->cellRect(row, 1).left()) << row;
        EXPECT_NEAR(label.center().y(), control.center().y(), 1) << row;
        EXPECT_EQ(qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget())->alignment(),
                  Qt::AlignRight | Qt::AlignVCenter);
        if (row > 0) {
            EXPECT_EQ(labelCell.top() - grid->cellRect(row - 1, 0).bottom() - 1, 14) << row;
        }
    }

    const QRect gridArea = grid->geometry();
    const QRect divider = inForm(child<QFrame>("divider"));
    const QRect toggle = inForm(maskToggle());
    const QRect caption = inForm(child<QLabel>("caption"));
    EXPECT_EQ(divider.top() - gridArea.bottom() - 1, 18);
    EXPECT_EQ(toggle.top() - divider.bottom() - 1, 18);
    EXPECT_EQ(caption.top() - toggle.bottom() - 1, 8);
    EXPECT_EQ(toggle.left(), 24);
    EXPECT_EQ(caption.left(), 24);
    // The widest child sets the width, the divider spans it, 24 around everything.
    const int widest = std::max({gridArea.width(), toggle.width(), caption.width()});
    EXPECT_EQ(view->width(), 24 + widest + 24);
    EXPECT_EQ(divider.left(), 24);
    EXPECT_EQ(divider.width(), widest);
    EXPECT_EQ(view->height() - caption.bottom() - 1, 24);
}

TEST_F(SettingsViewTest, TheFormKeepsItsIdealSize) {
    open();
    const QSize ideal = view->sizeHint();
    EXPECT_EQ(view->size(), ideal);
    EXPECT_EQ(view->minimumSize(), ideal);
    EXPECT_EQ(view->maximumSize(), ideal);
    view->resize(ideal * 2);
    QApplication::processEvents();
    EXPECT_EQ(view->size(), ideal);

    // A long symbol is taken whole and scrolls inside its field.
    const QString longSymbol = "Swiss francs, please";
    retype(currencyField(), longSymbol);
    QApplication::processEvents();
    EXPECT_EQ(settings->currencySymbol(), longSymbol.toStdString());
    EXPECT_EQ(currencyField()->width(), 44);
    EXPECT_EQ(view->size(), ideal);
}

TEST_F(SettingsViewTest, PopUpsOfferTheHoursAndTheQuarterHours) {
    open();
    const struct {
        const char* name;
        int rows;
        int step;
    } popUps[] = {
        {"startHourPopUp", 24, 1},
        {"endHourPopUp", 24, 1},
        {"startMinutePopUp", 4, 15},
        {"endMinutePopUp", 4, 15},
    };
    for (const auto& each : popUps) {
        const auto* popUp = child<QComboBox>(each.name);
        ASSERT_EQ(popUp->count(), each.rows) << each.name;
        for (int row = 0; row < each.rows; ++row) {
            const int value = row * each.step;
            EXPECT_EQ(popUp->itemData(row).toLongLong(), value) << each.name;
            EXPECT_EQ(popUp->itemText(row), QString("%1").arg(value, 2, 10, QChar('0')))
                << each.name;
        }
    }
}

TEST_F(SettingsViewShows, TheDefaultsOnAFirstRunAndStoresNothing) {
    open();
    EXPECT_EQ(shown(), (Shown{"$", "0", "09", "00", "17", "00", true}));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(signalCount, 0);
}

TEST_F(SettingsViewShows, StoredValuesInTheUsersLocale) {
    const struct {
        const char* locale;
        const char* amount;
        const char* workDays; // in the locale's week order
    } cases[] = {{"en_US.UTF-8", "1234.57", "713"}, {"de_DE.UTF-8", "1234,57", "137"}};
    for (const auto& each : cases) {
        ScopedEnvironment locale("LC_ALL", each.locale);
        openWith("dailyPay=1234.567\ncurrencySymbol=CHF\nstartHour=8\nstartMinute=30\n"
                 "endHour=16\nendMinute=45\nmaskWhileScreenSharing=false\nworkDays=x317\n"
                 "breakStartHour=13\nbreakStartMinute=15\nbreakMinutes=45\nhourlyPay=25\n");
        EXPECT_EQ(shown(), (Shown{"CHF", each.amount, "08", "30", "16", "45", false, "per day",
                                  each.workDays, "13:15", "45 min"}))
            << each.locale;
        EXPECT_EQ(settings->dailyPay(), 1234.567) << "showing rounds nothing in the store";
        view.reset();
    }
}

TEST_F(SettingsViewShows, ChangesMadeElsewhereOnTheNextTurnWithoutWritingBack) {
    open();
    const auto before = shown();
    settings->setCurrencySymbol("€");
    settings->setDailyPay(1500.5);
    settings->setStartHour(7);
    settings->setStartMinute(45);
    settings->setEndHour(23);
    settings->setEndMinute(15);
    settings->setMaskWhileScreenSharing(false);
    settings->setWorkDays("67");
    settings->setBreakMinutes(90);
    EXPECT_EQ(shown(), before) << "the store signals before it changes";
    QApplication::processEvents();
    EXPECT_EQ(shown(), (Shown{"€", "1500.5", "07", "45", "23", "15", false, "per day", "76",
                              "12:00", "90 min"}));
    EXPECT_EQ(signalCount, 9) << "the redraw wrote something";

    // The locale is read at each redraw.
    ScopedEnvironment german("LC_ALL", "de_DE.UTF-8");
    settings->setMaskEarnings(true);
    QApplication::processEvents();
    EXPECT_EQ(amountField()->text(), "1500,5");
}

TEST_F(SettingsViewShows, ManualMaskingFromTheMenuChangesNothingOnTheForm) {
    open();
    const auto before = shown();
    settings->setMaskEarnings(true);
    QApplication::processEvents();
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(signalCount, 1);
    EXPECT_EQ(storedKeys(), QStringList{"maskEarnings"});
}

TEST_F(SettingsViewShows, AMinuteThatIsNoRowShowsBareAndStaysUntilChosen) {
    openWith("startMinute=10\nendHour=25\n");
    EXPECT_EQ(shown(), (Shown{"$", "0", "09", "bare 10", "bare 25", "00", true}));

    // Other edits and the redraws they cause leave it alone.
    retype(currencyField(), "£");
    QTest::mouseClick(maskToggle(), Qt::LeftButton);
    choose(child<QComboBox>("startHourPopUp"), "06");
    QApplication::processEvents();
    EXPECT_EQ(settings->startMinute(), 10);
    EXPECT_EQ(stored("startMinute"), "10");
    EXPECT_EQ(settings->endHour(), 25);
    EXPECT_EQ(shown(), (Shown{"£", "0", "06", "bare 10", "bare 25", "00", false}));

    choose(child<QComboBox>("startMinutePopUp"), "15");
    EXPECT_EQ(settings->startMinute(), 15);
    EXPECT_EQ(shown().startMinute, "15");
}

TEST_F(SettingsViewTest, ChoosingARowWritesThatValueAloneAtOnce) {
    const struct {
        const char* popUp;
        const char* row;
        const char* key;
        std::int64_t (AppSettings::*property)() const;
        std::int64_t value;
    } cases[] = {
        {"startHourPopUp", "23", "startHour", &AppSettings::startHour, 23},
        {"startMinutePopUp", "45", "startMinute", &AppSettings::startMinute, 45},
        {"endHourPopUp", "08", "endHour", &AppSettings::endHour, 8}, // before the start: fine
        {"endMinutePopUp", "30", "endMinute", &AppSettings::endMinute, 30},
        {"startHourPopUp", "09", "startHour", &AppSettings::startHour, 9}, // the shown row again
        {"breakHourPopUp", "13", "breakStartHour", &AppSettings::breakStartHour, 13},
        {"breakMinutePopUp", "45", "breakStartMinute", &AppSettings::breakStartMinute, 45},
    };
    for (const auto& each : cases) {
        TemporaryFolder caseFolder;
        file = caseFolder / "tallyglow.conf";
        signalCount = 0;
        open();
        choose(child<QComboBox>(each.popUp), each.row);
        EXPECT_EQ((settings.get()->*each.property)(), each.value) << each.popUp;
        EXPECT_EQ(signalCount, 1) << each.popUp;
        EXPECT_EQ(storedKeys(), QStringList{each.key}) << each.popUp;
        EXPECT_EQ(stored(each.key), QString::number(each.value)) << each.popUp;
        EXPECT_EQ(child<QComboBox>(each.popUp)->currentText(), each.row);
        view.reset();
    }
}

TEST_F(SettingsViewTest, TheCurrencyFieldWritesEveryChangeAsItStands) {
    open();
    QTest::keyClick(currencyField(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(currencyField(), Qt::Key_Backspace);
    EXPECT_EQ(settings->currencySymbol(), "");
    EXPECT_EQ(stored("currencySymbol"), "");
    EXPECT_TRUE(storedKeys().contains("currencySymbol"));
    QApplication::processEvents();
    EXPECT_EQ(currencyField()->text(), "");
    EXPECT_EQ(currencyField()->placeholderText(), "Currency");

    std::vector<std::string> seen;
    settings->objectWillChange.subscribe([&] { seen.push_back(settings->currencySymbol()); });
    QTest::keyClicks(currencyField(), " kr ");
    QApplication::processEvents();
    EXPECT_EQ(settings->currencySymbol(), " kr ");
    EXPECT_EQ(stored("currencySymbol"), " kr ");
    EXPECT_EQ(seen, (std::vector<std::string>{"", " ", " k", " kr"})) << "one write a keystroke";
    EXPECT_EQ(signalCount, 5);

    // Typing in the middle: the redraw after each keystroke keeps the cursor where it is.
    currencyField()->setCursorPosition(1);
    QTest::keyClicks(currencyField(), "S");
    QApplication::processEvents();
    QTest::keyClicks(currencyField(), "E");
    QApplication::processEvents();
    EXPECT_EQ(settings->currencySymbol(), " SEkr ");
}

TEST_F(SettingsViewTest, PayTextIsTakenOnlyWhenTheEditEnds) {
    enum class Ending { returnKey, leavingTheField, closingTheWindow };
    // The field shows "1500" before each edit; "\b" is a Backspace.
    const std::string clear = "\b\b\b\b";
    const struct {
        const char* locale;
        std::string keys;
        Ending ending;
        double stored;
        const char* shownAfter;
        bool refusedAsOutOfRange = false;
    } cases[] = {
        {"en_US.UTF-8", clear + "1234.5", Ending::returnKey, 1234.5, "1234.5"},
        {"en_US.UTF-8", clear + "1234.567", Ending::returnKey, 1234.567, "1234.57"},
        // Out of range: refused, with a word beside the field.
        {"en_US.UTF-8", clear + "-100", Ending::returnKey, 1500, "1500", true},
        {"en_US.UTF-8", clear + "1e300", Ending::leavingTheField, 1500, "1500", true},
        {"en_US.UTF-8", clear + "1E308", Ending::closingTheWindow, 1500, "1500", true},
        {"en_US.UTF-8", clear + "1000000000.01", Ending::returnKey, 1500, "1500", true},
        {"en_US.UTF-8", clear + "1000000000", Ending::returnKey, 1e9, "1000000000"},
        {"en_US.UTF-8", clear + "0", Ending::returnKey, 0, "0"},
        {"en_US.UTF-8", "5", Ending::leavingTheField, 15005, "15005"},
        {"en_US.UTF-8", clear + "99.999", Ending::closingTheWindow, 99.999, "100"},
        // Cleared, or half-typed: what was on the way is never taken.
        {"en_US.UTF-8", clear, Ending::returnKey, 1500, "1500"},
        {"en_US.UTF-8", clear, Ending::leavingTheField, 1500, "1500"},
        {"en_US.UTF-8", clear, Ending::closingTheWindow, 1500, "1500"},
        // Not wholly a number in the locale.
        {"en_US.UTF-8", clear + "abc", Ending::returnKey, 1500, "1500"},
        {"en_US.UTF-8", clear + "NaN", Ending::returnKey, 1500, "1500"},
        {"en_US.UTF-8", clear + "12abc", Ending::leavingTheField, 1500, "1500"},
        {"en_US.UTF-8", clear + "1,500", Ending::returnKey, 1500, "1500"},
        {"de_DE.UTF-8", clear + "1.500", Ending::closingTheWindow, 1500, "1500"},
        {"de_DE.UTF-8", clear + "1500,5", Ending::returnKey, 1500.5, "1500,5"},
        {"de_DE.UTF-8", clear + "1234,567", Ending::leavingTheField, 1234.567, "1234,57"},
        {"de_DE.UTF-8", clear + "x", Ending::returnKey, 1500, "1500"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.locale + (" " + each.keys));
        ScopedEnvironment locale("LC_ALL", each.locale);
        TemporaryFolder caseFolder;
        file = caseFolder / "tallyglow.conf";
        openWith("dailyPay=1500\n");
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        amountField()->setFocus();
        QTest::keyClick(amountField(), Qt::Key_End);
        QTest::keyClicks(amountField(), QString::fromStdString(each.keys));
        QApplication::processEvents();
        EXPECT_EQ(settings->dailyPay(), 1500) << "nothing is taken while typing";
        EXPECT_EQ(stored("dailyPay"), "1500");

        switch (each.ending) {
        case Ending::returnKey:
            QTest::keyClick(amountField(), Qt::Key_Return);
            break;
        case Ending::leavingTheField:
            currencyField()->setFocus();
            break;
        case Ending::closingTheWindow:
            view->close();
            break;
        }
        QApplication::processEvents();
        EXPECT_EQ(settings->dailyPay(), each.stored);
        EXPECT_EQ(stored("dailyPay").toDouble(), each.stored);
        EXPECT_EQ(amountField()->text(), each.shownAfter);
        EXPECT_EQ(child<QLabel>("payNote")->isVisibleTo(view.get()), each.refusedAsOutOfRange);
        view.reset();
    }
}

// Opening the window while the screen is cast must not show the pay, wherever the focus
// comes back to; the user going into the field still shows it for editing.
TEST_F(SettingsViewTest, WhileMaskedThePayShowsOnlyWhileItIsEdited) {
    using Detection = ScreenShareDetector::Detection;
    using PipeWire = ScreenShareDetector::PipeWire;
    constexpr bool x11 = true, reads = true;
    openWith("dailyPay=1500\n");
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    currencyField()->setFocus();
    // How the focus gets to the field: the user tabs or clicks there, or the program or
    // the window manager puts it there, or it comes back with the window.
    enum class Focus { tab, click, given, reopened };
    const struct {
        bool masked;
        QWidget* focus;
        Focus how;
        Detection detection;
        QLineEdit::EchoMode echo;
        const char* note;
    } steps[] = {
        {true, currencyField(), Focus::tab, {PipeWire::working}, QLineEdit::Password, ""},
        {true, amountField(), Focus::tab, {PipeWire::working}, QLineEdit::Normal, ""},
        {true, amountField(), Focus::reopened, {PipeWire::working}, QLineEdit::Password, ""},
        {true, amountField(), Focus::click, {PipeWire::working}, QLineEdit::Normal, ""},
        {true, currencyField(), Focus::tab, {PipeWire::working}, QLineEdit::Password, ""},
        {true, amountField(), Focus::given, {PipeWire::working}, QLineEdit::Password, ""},
        {true,
         currencyField(),
         Focus::tab,
         {PipeWire::notRunning},
         QLineEdit::Password,
         "Screen casts cannot be detected: PipeWire is not running"},
        {false,
         currencyField(),
         Focus::tab,
         {PipeWire::missing},
         QLineEdit::Normal,
         "Screen casts cannot be detected: PipeWire is not installed"},
        {false,
         currencyField(),
         Focus::tab,
         {PipeWire::working, x11},
         QLineEdit::Normal,
         "Screen sharing is detected for browsers and Zoom, and for PipeWire casts"},
        {true,
         currencyField(),
         Focus::tab,
         {PipeWire::missing, x11},
         QLineEdit::Password,
         "Screen sharing is detected for browsers and Zoom only: PipeWire is not installed"},
        {true,
         currencyField(),
         Focus::tab,
         {PipeWire::notRunning, x11, reads},
         QLineEdit::Password,
         "Screen sharing is detected for browsers, Zoom and programs that read the screen, not "
         "for PipeWire casts: PipeWire is not running"},
    };
    for (const auto& step : steps) {
        view->showMasking(step.masked, step.detection);
        switch (step.how) {
        case Focus::tab:
            step.focus->setFocus(Qt::TabFocusReason);
            break;
        case Focus::click:
            QTest::mouseClick(step.focus, Qt::LeftButton);
            break;
        case Focus::given:
            step.focus->setFocus();
            break;
        case Focus::reopened: {
            view->hide();
            QWidget elsewhere; // another window has the focus meanwhile
            elsewhere.show();
            elsewhere.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
            view->show();
            view->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
            // The focus comes back to where it was, by itself.
            ASSERT_EQ(QApplication::focusWidget(), step.focus);
            break;
        }
        }
        QApplication::processEvents();
        EXPECT_EQ(amountField()->echoMode(), step.echo) << step.note;
        // What a screen reader reads from the field.
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(amountField());
        ASSERT_NE(field, nullptr);
        const QString read = field->text(QAccessible::Value) + field->text(QAccessible::Name) +
                             field->textInterface()->text(0, 100);
        EXPECT_EQ(read.contains(QStringLiteral("1500")), step.echo == QLineEdit::Normal)
            << read.toStdString();
        EXPECT_EQ(child<QLabel>("detectionNote")->isVisible(), *step.note != 0);
        EXPECT_EQ(child<QLabel>("detectionNote")->text(), step.note);
    }
    EXPECT_EQ(amountField()->text(), "1500");
}

TEST_F(SettingsViewTest, PayTextBeingTypedIsNotRedrawnUnderTheCursor) {
    open();
    retype(amountField(), "1500.");
    QApplication::processEvents();
    EXPECT_EQ(amountField()->text(), "1500.");
    QTest::keyClicks(amountField(), "75");
    // A change elsewhere while typing leaves the text as typed.
    settings->setMaskEarnings(true);
    QApplication::processEvents();
    EXPECT_EQ(amountField()->text(), "1500.75");
    QTest::keyClick(amountField(), Qt::Key_Return);
    EXPECT_EQ(settings->dailyPay(), 1500.75);
}

TEST_F(SettingsViewTest, LeavingThePayFieldShowsTheStoredAmount) {
    open();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    amountField()->setFocus();
    retype(amountField(), "99.999");
    EXPECT_EQ(amountField()->text(), "99.999");
    currencyField()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(amountField()->text(), "100");
    EXPECT_EQ(settings->dailyPay(), 99.999);
}

TEST_F(SettingsViewTest, TheToggleWritesAutomaticMaskingAndNeverManualMasking) {
    open();
    QTest::mouseClick(maskToggle(), Qt::LeftButton);
    EXPECT_FALSE(settings->maskWhileScreenSharing());
    EXPECT_EQ(stored("maskWhileScreenSharing"), "false");
    QApplication::processEvents();
    EXPECT_FALSE(maskToggle()->isChecked());
    QTest::mouseClick(maskToggle(), Qt::LeftButton);
    EXPECT_TRUE(settings->maskWhileScreenSharing());
    EXPECT_EQ(stored("maskWhileScreenSharing"), "true");
    EXPECT_EQ(signalCount, 2);

    // Every control used once: manual masking is still never written.
    retype(currencyField(), "$");
    retype(amountField(), "10");
    QTest::keyClick(amountField(), Qt::Key_Return);
    for (const char* name :
         {"startHourPopUp", "startMinutePopUp", "endHourPopUp", "endMinutePopUp"}) {
        choose(child<QComboBox>(name), "15");
    }
    QApplication::processEvents();
    EXPECT_FALSE(storedKeys().contains("maskEarnings"));
    EXPECT_EQ(storedKeys().size(), 7);
}

// Each step is one use of a new control and what the store and the form then hold.
TEST_F(SettingsViewTest, TheWeekControlsWriteWhatTheyShow) {
    openWith("dailyPay=200\n");
    QTest::mouseClick(child<QToolButton>("workDay7"), Qt::LeftButton);
    EXPECT_EQ(settings->workDays(), "123456");
    choose(child<QComboBox>("breakLengthPopUp"), "30 min");
    EXPECT_EQ(stored("breakMinutes"), "30");
    EXPECT_EQ(stored("breakStartHour"), "12") << "the time shown is the break's time";
    choose(child<QComboBox>("endHourPopUp"), "09");
    EXPECT_TRUE(child<QLabel>("nextDayNote")->isVisible()) << "09:00 to 09:00";
    choose(child<QComboBox>("endHourPopUp"), "10");
    EXPECT_FALSE(child<QLabel>("nextDayNote")->isVisible());
    choose(child<QComboBox>("payPeriodPopUp"), "per hour");
    EXPECT_EQ(amountField()->text(), "0") << "the field shows the hourly pay";
    retype(amountField(), "25.5");
    QTest::keyClick(amountField(), Qt::Key_Return);
    EXPECT_EQ(stored("hourlyPay"), "25.5");
    choose(child<QComboBox>("payPeriodPopUp"), "per day");
    EXPECT_EQ(amountField()->text(), "200");
}

TEST_F(SettingsViewTest, AClosedFormNoLongerListens) {
    open();
    settings->setDailyPay(5); // a redraw is pending when the form goes
    view.reset();
    QApplication::processEvents();
    settings->setDailyPay(6);
    QApplication::processEvents();
    EXPECT_EQ(settings->dailyPay(), 6);
    EXPECT_EQ(signalCount, 2);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Never a real display, bus or preferences folder.
    TemporaryFolder home;
    fs::create_directories(home / "config");
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS",
             ("unix:path=" + (home / "runtime" / "no-bus").string()).c_str(), 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
