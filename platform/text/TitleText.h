// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The text of the panel title, built without any locale.
namespace TitleText {

// The symbol as given (nothing in it is interpreted), then the amount in
// fixed point with two decimals: "." as the separator, no grouping, the exact
// value rounded to the nearest hundredth with ties to even. Infinite and NaN
// amounts read "inf", "-inf", "nan". Byte sequences of the symbol that are not
// UTF-8 become U+FFFD, so the result is always valid UTF-8.
//
// The result is one line of at most 64 characters: control characters and
// line separators of the symbol are left out, a symbol too long to fit is
// cut and ends in "…", and an amount longer than that alone is cut likewise.
std::string format(const std::string& symbol, double amount);

// Every extended grapheme cluster with a code point of a numeric type
// (decimal, digit or numeric, in any script) becomes one "•"; all others stay.
// Bytes that are not UTF-8 become U+FFFD first, so none is passed on raw.
std::string maskNumerals(const std::string& title);

} // namespace TitleText
