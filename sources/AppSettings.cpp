// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppSettings.h"

#include "UserLocale.h"

#include <cmath>
#include <mutex>

namespace {

const char* const dailyPayKey = "dailyPay";
const char* const startHourKey = "startHour";
const char* const startMinuteKey = "startMinute";
const char* const endHourKey = "endHour";
const char* const endMinuteKey = "endMinute";
const char* const currencySymbolKey = "currencySymbol";
const char* const maskEarningsKey = "maskEarnings";
const char* const maskWhileScreenSharingKey = "maskWhileScreenSharing";
const char* const workDaysKey = "workDays";
const char* const breakStartHourKey = "breakStartHour";
const char* const breakStartMinuteKey = "breakStartMinute";
const char* const breakMinutesKey = "breakMinutes";
const char* const payPeriodKey = "payPeriod";
const char* const hourlyPayKey = "hourlyPay";

const char* const everyDay = "1234567";
const char* const perHour = "hour";
const char* const perDay = "day";

// An older version kept a weekly pay; it is turned into a daily one once.
const char* const weeklyPayKey = "weeklyPay";
const char* const daysPerWeekKey = "daysPerWeek";
const char* const hoursPerDayKey = "hoursPerDay";

const char* const symbolWithoutLocale = "$";

} // namespace

AppSettings& AppSettings::shared() {
    static std::once_flag once;
    static AppSettings* store = nullptr;
    std::call_once(once, [] {
        store = new AppSettings(std::make_shared<Defaults>(Defaults::standardFilePath()));
    });
    return *store;
}

AppSettings::AppSettings(std::shared_ptr<Defaults> preferences) : defaults(std::move(preferences)) {
    if (!defaults->hasObject(dailyPayKey)) {
        const double weeklyPay = defaults->doubleForKey(weeklyPayKey);
        if (weeklyPay > 0 && std::isfinite(weeklyPay)) {
            const std::int64_t daysPerWeek = defaults->integerForKey(daysPerWeekKey);
            const double divisor = daysPerWeek > 1 ? static_cast<double>(daysPerWeek) : 1.0;
            defaults->setDouble(weeklyPay / divisor, dailyPayKey);
        }
    }

    defaults->removeObject(weeklyPayKey);
    defaults->removeObject(daysPerWeekKey);
    defaults->removeObject(hoursPerDayKey);

    // Checked before the fallbacks are registered: a break needs a time of its own.
    breakStartSet =
        defaults->hasObject(breakStartHourKey) || defaults->hasObject(breakStartMinuteKey);

    defaults->registerDefaults({
        {dailyPayKey, 0.0},
        {startHourKey, std::int64_t{9}},
        {startMinuteKey, std::int64_t{0}},
        {endHourKey, std::int64_t{17}},
        {endMinuteKey, std::int64_t{0}},
        {currencySymbolKey, UserLocale::currencySymbol().value_or(symbolWithoutLocale)},
        {maskEarningsKey, false},
        {maskWhileScreenSharingKey, true},
        {workDaysKey, std::string(everyDay)},
        {breakStartHourKey, std::int64_t{12}},
        {breakStartMinuteKey, std::int64_t{0}},
        {breakMinutesKey, std::int64_t{0}},
        {payPeriodKey, std::string(perDay)},
        {hourlyPayKey, 0.0},
    });

    // An infinite pay is no pay: it would make the title "$inf". (NaN earns
    // nothing and opens nothing, as before.)
    dailyPayValue = defaults->doubleForKey(dailyPayKey);
    if (std::isinf(dailyPayValue)) {
        dailyPayValue = 0;
    }
    startHourValue = defaults->integerForKey(startHourKey);
    startMinuteValue = defaults->integerForKey(startMinuteKey);
    endHourValue = defaults->integerForKey(endHourKey);
    endMinuteValue = defaults->integerForKey(endMinuteKey);
    currencySymbolValue = defaults->stringForKey(currencySymbolKey).value_or(symbolWithoutLocale);
    maskEarningsValue = defaults->boolForKey(maskEarningsKey);
    maskWhileScreenSharingValue = defaults->boolForKey(maskWhileScreenSharingKey);
    workDaysValue = defaults->stringForKey(workDaysKey).value_or(everyDay);
    breakStartHourValue = defaults->integerForKey(breakStartHourKey);
    breakStartMinuteValue = defaults->integerForKey(breakStartMinuteKey);
    breakMinutesValue = defaults->integerForKey(breakMinutesKey);
    payPeriodValue =
        defaults->stringForKey(payPeriodKey) == perHour ? PayPeriod::hour : PayPeriod::day;
    hourlyPayValue = defaults->doubleForKey(hourlyPayKey);
    if (std::isinf(hourlyPayValue)) {
        hourlyPayValue = 0;
    }
}

bool AppSettings::worksOn(int isoWeekday) const {
    return isoWeekday >= 1 && isoWeekday <= 7 &&
           workDaysValue.find(static_cast<char>('0' + isoWeekday)) != std::string::npos;
}

template <typename Value, typename Write>
void AppSettings::assign(Value& field, Value value, const char* key, Write write) {
    objectWillChange.send();
    field = std::move(value);
    ((*defaults).*write)(field, key);
}

void AppSettings::setDailyPay(double value) {
    assign(dailyPayValue, value, dailyPayKey, &Defaults::setDouble);
}

void AppSettings::setStartHour(std::int64_t value) {
    assign(startHourValue, value, startHourKey, &Defaults::setInteger);
}

void AppSettings::setStartMinute(std::int64_t value) {
    assign(startMinuteValue, value, startMinuteKey, &Defaults::setInteger);
}

void AppSettings::setEndHour(std::int64_t value) {
    assign(endHourValue, value, endHourKey, &Defaults::setInteger);
}

void AppSettings::setEndMinute(std::int64_t value) {
    assign(endMinuteValue, value, endMinuteKey, &Defaults::setInteger);
}

void AppSettings::setCurrencySymbol(const std::string& value) {
    assign(currencySymbolValue, value, currencySymbolKey, &Defaults::setString);
}

void AppSettings::setMaskEarnings(bool value) {
    assign(maskEarningsValue, value, maskEarningsKey, &Defaults::setBool);
}

void AppSettings::setMaskWhileScreenSharing(bool value) {
    assign(maskWhileScreenSharingValue, value, maskWhileScreenSharingKey, &Defaults::setBool);
}

void AppSettings::setWorkDays(const std::string& value) {
    assign(workDaysValue, value, workDaysKey, &Defaults::setString);
}

void AppSettings::setBreakStartHour(std::int64_t value) {
    assign(breakStartHourValue, value, breakStartHourKey, &Defaults::setInteger);
    breakStartSet = true;
}

void AppSettings::setBreakStartMinute(std::int64_t value) {
    assign(breakStartMinuteValue, value, breakStartMinuteKey, &Defaults::setInteger);
    breakStartSet = true;
}

void AppSettings::setBreakMinutes(std::int64_t value) {
    assign(breakMinutesValue, value, breakMinutesKey, &Defaults::setInteger);
}

void AppSettings::setPayPeriod(PayPeriod value) {
    objectWillChange.send();
    payPeriodValue = value;
    defaults->setString(value == PayPeriod::hour ? perHour : perDay, payPeriodKey);
}

void AppSettings::setHourlyPay(double value) {
    assign(hourlyPayValue, value, hourlyPayKey, &Defaults::setDouble);
}

namespace {

template <typename Value>
PropertyReference<Value> reference(AppSettings& settings, Value (AppSettings::*get)() const,
                                   void (AppSettings::*set)(Value)) {
    return {[&settings, get] { return (settings.*get)(); },
            [&settings, set](Value value) {
                (settings.*set)(value);
            }};
}

} // namespace

PropertyReference<double> AppSettings::dailyPayReference() {
    return reference(*this, &AppSettings::dailyPay, &AppSettings::setDailyPay);
}

PropertyReference<std::int64_t> AppSettings::startHourReference() {
    return reference(*this, &AppSettings::startHour, &AppSettings::setStartHour);
}

PropertyReference<std::int64_t> AppSettings::startMinuteReference() {
    return reference(*this, &AppSettings::startMinute, &AppSettings::setStartMinute);
}

PropertyReference<std::int64_t> AppSettings::endHourReference() {
    return reference(*this, &AppSettings::endHour, &AppSettings::setEndHour);
}

PropertyReference<std::int64_t> AppSettings::endMinuteReference() {
    return reference(*this, &AppSettings::endMinute, &AppSettings::setEndMinute);
}

PropertyReference<std::string> AppSettings::currencySymbolReference() {
    return {[this] { return currencySymbol(); },
            [this](std::string value) {
                setCurrencySymbol(value);
            }};
}

PropertyReference<bool> AppSettings::maskEarningsReference() {
    return reference(*this, &AppSettings::maskEarnings, &AppSettings::setMaskEarnings);
}

PropertyReference<bool> AppSettings::maskWhileScreenSharingReference() {
    return reference(*this, &AppSettings::maskWhileScreenSharing,
                     &AppSettings::setMaskWhileScreenSharing);
}

PropertyReference<std::int64_t> AppSettings::breakStartHourReference() {
    return reference(*this, &AppSettings::breakStartHour, &AppSettings::setBreakStartHour);
}

PropertyReference<std::int64_t> AppSettings::breakStartMinuteReference() {
    return reference(*this, &AppSettings::breakStartMinute, &AppSettings::setBreakStartMinute);
}

PropertyReference<std::int64_t> AppSettings::breakMinutesReference() {
    return reference(*this, &AppSettings::breakMinutes, &AppSettings::setBreakMinutes);
}

PropertyReference<double> AppSettings::hourlyPayReference() {
    return reference(*this, &AppSettings::hourlyPay, &AppSettings::setHourlyPay);
}
