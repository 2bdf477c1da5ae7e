// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocaleNumberText.h"

#include "UserLocale.h"

#include <cmath>
#include <memory>
#include <unicode/fmtable.h>
#include <unicode/numberformatter.h>
#include <unicode/numfmt.h>
#include <unicode/parsepos.h>

namespace LocaleNumberText {

namespace {

icu::Locale numericLocale() {
    const std::string name = numericLocaleName();
    return name.empty() ? icu::Locale::getRoot() : icu::Locale(name.c_str());
}

} // namespace

std::string numericLocaleName() {
    return UserLocale::localeName("LC_NUMERIC");
}

std::string format(double value) {
    UErrorCode status = U_ZERO_ERROR;
    const auto text = icu::number::NumberFormatter::withLocale(numericLocale())
                          .grouping(UNUM_GROUPING_OFF)
                          .precision(icu::number::Precision::minMaxFraction(0, 2))
                          .formatDouble(value, status)
                          .toString(status);
    std::string result;
    if (U_SUCCESS(status)) {
        text.toUTF8String(result);
    }
    return result;
}

std::optional<double> parse(const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> parser(
        icu::NumberFormat::createInstance(numericLocale(), status));
    if (U_FAILURE(status) || !parser) {
        return std::nullopt;
    }
    // Without grouping "1,500" stops at the comma in English, and the
    // whole-text test below refuses it instead of taking 1.
    parser->setGroupingUsed(false);

    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(text).trim();
    icu::Formattable number;
    icu::ParsePosition position(0);
    parser->parse(input, number, position);
    if (position.getErrorIndex() >= 0 || input.isEmpty() || position.getIndex() != input.length()) {
        return std::nullopt;
    }
    status = U_ZERO_ERROR;
    const double value = number.getDouble(status);
    if (U_FAILURE(status) || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace LocaleNumberText
