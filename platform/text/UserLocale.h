#pragma once

#include <optional>
#include <string>

namespace UserLocale {

// The user's locale name for one category (LC_ALL, then the category's own
// variable such as "LC_MONETARY", then LANG), without encoding or modifier,
// e.g. "de_CH"; empty for C/POSIX.
std::string localeName(const char* categoryVariable);

// The local currency symbol of the user's locale ("$" for en_US, "€" for
// de_DE, "CHF" for de_CH); nothing for a locale without a country.
std::optional<std::string> currencySymbol();

// Same, for a named locale.
std::optional<std::string> currencySymbol(const std::string& localeName);

} // namespace UserLocale
