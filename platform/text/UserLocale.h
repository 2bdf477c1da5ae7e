// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace UserLocale {

// The user's locale name for one category (LC_ALL, then the category's own
// variable such as "LC_MONETARY", then LANG), without encoding or modifier,
// e.g. "de_CH"; empty for C/POSIX.
std::string localeName(const char* categoryVariable);

// The languages the user reads messages in, most wanted first, chosen as
// gettext chooses them: the list in LANGUAGE ("de_AT:de:fr"), else the locale
// for messages (LC_ALL, then LC_MESSAGES, then LANG); LANGUAGE is ignored
// while that locale is C or POSIX. Each name without encoding or modifier,
// e.g. {"pt_BR", "de"}; empty for C, POSIX or nothing set.
std::vector<std::string> messageLanguages();

// The local currency symbol of the user's locale ("$" for en_US, "€" for
// de_DE, "CHF" for de_CH); nothing for a locale without a country.
std::optional<std::string> currencySymbol();

// Same, for a named locale.
std::optional<std::string> currencySymbol(const std::string& localeName);

// One day of the week as the user's locale for dates names it.
struct Weekday {
    int isoNumber; // 1 = Monday ... 7 = Sunday
    std::string shortName;
};

// The seven days in the week order of the user's locale for dates (LC_ALL,
// then LC_TIME, then LANG): Monday first in most of Europe, Sunday first in
// the US; English names and Monday first for C or POSIX.
std::vector<Weekday> weekdays();

} // namespace UserLocale
