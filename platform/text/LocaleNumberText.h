// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// Decimal numbers as the user writes them: the user's locale for numbers,
// read afresh at every call, no thousands separators, at most two fraction
// digits shown.
namespace LocaleNumberText {

// The user's locale name for numbers (LC_ALL, then LC_NUMERIC, then LANG),
// without encoding or modifier, e.g. "de_DE"; empty for C/POSIX.
std::string numericLocaleName();

// 1500 as "1500", 1500.5 as "1500.5" ("1500,5" with a decimal comma),
// 1234.567 as "1234.57" (the nearest, ties to even).
std::string format(double value);

// The number the whole text spells, surrounding white space aside, in the
// same locale and without grouping; its fraction digits are kept, not rounded.
// Nothing for text that is not entirely a number ("12abc", "1,500" where the
// comma is not the decimal separator, an empty text) and for NaN or infinity.
std::optional<double> parse(const std::string& text);

} // namespace LocaleNumberText
