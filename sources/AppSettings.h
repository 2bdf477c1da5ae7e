// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Defaults.h"
#include "Observable.h"

#include <cstdint>
#include <memory>
#include <string>

// The user's settings: held in memory for reading, every assignment told to
// subscribers first and then written through to the preferences at once.
class AppSettings {
public:
    // The one store of the process, created on first use.
    static AppSettings& shared();

    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    double dailyPay() const { return dailyPayValue; }
    std::int64_t startHour() const { return startHourValue; }
    std::int64_t startMinute() const { return startMinuteValue; }
    std::int64_t endHour() const { return endHourValue; }
    std::int64_t endMinute() const { return endMinuteValue; }
    const std::string& currencySymbol() const { return currencySymbolValue; }
    bool maskEarnings() const { return maskEarningsValue; }
    bool maskWhileScreenSharing() const { return maskWhileScreenSharingValue; }

    // What the typed pay is per.
    enum class PayPeriod { day, hour };

    // The days on which a shift starts, as ISO weekday digits ("12345" for
    // Monday to Friday), kept as stored; every day when nothing is stored.
    const std::string& workDays() const { return workDaysValue; }
    // Whether a shift starts on that weekday (1 = Monday ... 7 = Sunday):
    // other characters of the stored text, their order and repeats do not matter.
    bool worksOn(int isoWeekday) const;
    // The wall time of the unpaid break; 12:00 until one is set.
    std::int64_t breakStartHour() const { return breakStartHourValue; }
    std::int64_t breakStartMinute() const { return breakStartMinuteValue; }
    // Whether a break time has been set at all: without one there is no break.
    bool hasBreakStart() const { return breakStartSet; }
    // The break's length in minutes; 0 or less is no break.
    std::int64_t breakMinutes() const { return breakMinutesValue; }
    PayPeriod payPeriod() const { return payPeriodValue; }
    double hourlyPay() const { return hourlyPayValue; }
    // The typed pay of the period in force: the daily or the hourly pay.
    double payInForce() const {
        return payPeriodValue == PayPeriod::hour ? hourlyPayValue : dailyPayValue;
    }

    void setDailyPay(double value);
    void setStartHour(std::int64_t value);
    void setStartMinute(std::int64_t value);
    void setEndHour(std::int64_t value);
    void setEndMinute(std::int64_t value);
    void setCurrencySymbol(const std::string& value);
    void setMaskEarnings(bool value);
    void setMaskWhileScreenSharing(bool value);
    void setWorkDays(const std::string& value);
    void setBreakStartHour(std::int64_t value);
    void setBreakStartMinute(std::int64_t value);
    void setBreakMinutes(std::int64_t value);
    void setPayPeriod(PayPeriod value);
    void setHourlyPay(double value);

    // Writable references for two-way bindings; writing through one is the assignment.
    PropertyReference<double> dailyPayReference();
    PropertyReference<std::int64_t> startHourReference();
    PropertyReference<std::int64_t> startMinuteReference();
    PropertyReference<std::int64_t> endHourReference();
    PropertyReference<std::int64_t> endMinuteReference();
    PropertyReference<std::string> currencySymbolReference();
    PropertyReference<bool> maskEarningsReference();
    PropertyReference<bool> maskWhileScreenSharingReference();
    PropertyReference<std::int64_t> breakStartHourReference();
    PropertyReference<std::int64_t> breakStartMinuteReference();
    PropertyReference<std::int64_t> breakMinutesReference();
    PropertyReference<double> hourlyPayReference();

    // Sent before every assignment, while the old value is still in place.
    ChangeSignal objectWillChange;

private:
    // Tests build stores over their own preferences files through this.
    friend struct AppSettingsTesting;

    explicit AppSettings(std::shared_ptr<Defaults> defaults);

    template <typename Value, typename Write>
    void assign(Value& field, Value value, const char* key, Write write);

    std::shared_ptr<Defaults> defaults;
    double dailyPayValue = 0;
    std::int64_t startHourValue = 0;
    std::int64_t startMinuteValue = 0;
    std::int64_t endHourValue = 0;
    std::int64_t endMinuteValue = 0;
    std::string currencySymbolValue;
    bool maskEarningsValue = false;
    bool maskWhileScreenSharingValue = false;
    std::string workDaysValue;
    std::int64_t breakStartHourValue = 0;
    std::int64_t breakStartMinuteValue = 0;
    bool breakStartSet = false;
    std::int64_t breakMinutesValue = 0;
    PayPeriod payPeriodValue = PayPeriod::day;
    double hourlyPayValue = 0;
};
