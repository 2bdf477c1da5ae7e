// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserLocale.h"

#include <cstdlib>
#include <memory>
#include <sstream>
#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/ucurr.h>

namespace UserLocale {

std::string localeName(const char* categoryVariable) {
    std::string name;
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && value[0] != '\0') {
            name = value;
            break;
        }
    }
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX") {
        return {};
    }
    return name;
}

std::vector<std::string> messageLanguages() {
    const std::string messagesLocale = localeName("LC_MESSAGES");
    if (messagesLocale.empty()) {
        return {};
    }
    const char* list = std::getenv("LANGUAGE");
    if (!list || list[0] == '\0') {
        return {messagesLocale};
    }
    std::vector<std::string> languages;
    std::istringstream entries(list);
    for (std::string entry; std::getline(entries, entry, ':');) {
        entry = entry.substr(0, entry.find_first_of(".@"));
        if (!entry.empty()) {
            languages.push_back(entry);
        }
    }
    if (languages.empty()) {
        return {messagesLocale};
    }
    return languages;
}

std::optional<std::string> currencySymbol() {
    return currencySymbol(localeName("LC_MONETARY"));
}

std::optional<std::string> currencySymbol(const std::string& localeName) {
    if (localeName.empty()) {
        return std::nullopt;
    }
    const icu::Locale locale(localeName.c_str());
    if (locale.isBogus() || locale.getCountry()[0] == '\0') {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    UChar isoCode[4] = {};
    ucurr_forLocale(locale.getName(), isoCode, 4, &status);
    if (U_FAILURE(status) || isoCode[0] == 0) {
        return std::nullopt;
    }
    UBool isChoiceFormat = false;
    int32_t length = 0;
    status = U_ZERO_ERROR;
    const UChar* symbol = ucurr_getName(isoCode, locale.getName(), UCURR_SYMBOL_NAME,
                                        &isChoiceFormat, &length, &status);
    if (U_FAILURE(status) || length == 0) {
        return std::nullopt;
    }
    std::string text;
    icu::UnicodeString(symbol, length).toUTF8String(text);
    return text;
}

std::vector<Weekday> weekdays() {
    const std::string name = localeName("LC_TIME");
    const icu::Locale locale(name.empty() ? "en_150" : name.c_str());
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
    const int first = U_SUCCESS(status) ? calendar->getFirstDayOfWeek(status) : UCAL_MONDAY;
    status = U_ZERO_ERROR;
    const icu::DateFormatSymbols symbols(locale, status);
    std::int32_t count = 0;
    // Indexed as ICU counts the days: Sunday = 1 ... Saturday = 7.
    const icu::UnicodeString* names = symbols.getWeekdays(count, icu::DateFormatSymbols::STANDALONE,
                                                          icu::DateFormatSymbols::ABBREVIATED);
    std::vector<Weekday> days;
    for (int step = 0; step < 7; ++step) {
        const int icuDay = (first - 1 + step) % 7 + 1;
        Weekday day{(icuDay + 5) % 7 + 1, {}};
        if (U_SUCCESS(status) && icuDay < count) {
            names[icuDay].toUTF8String(day.shortName);
        }
        days.push_back(std::move(day));
    }
    return days;
}

} // namespace UserLocale
