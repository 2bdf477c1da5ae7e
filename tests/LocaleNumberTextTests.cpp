// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocaleNumberText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

// Only LC_ALL, LC_NUMERIC and LANG decide; each case sets all three.
struct Locale {
    ScopedEnvironment all;
    ScopedEnvironment numeric;
    ScopedEnvironment lang;
    Locale(const char* lcAll, const char* lcNumeric = "", const char* language = "")
        : all("LC_ALL", lcAll), numeric("LC_NUMERIC", lcNumeric), lang("LANG", language) {}
};

TEST(LocaleNumberText, FormatsWithoutGroupingAndUpToTwoFractionDigits) {
    const struct {
        const char* locale;
        double value;
        const char* text;
    } cases[] = {
        {"en_US.UTF-8", 0, "0"},
        {"en_US.UTF-8", 1500.5, "1500.5"},
        {"en_US.UTF-8", 1234.567, "1234.57"},
        {"en_US.UTF-8", 12345678.9, "12345678.9"},
        {"en_US.UTF-8", -100, "-100"},
        {"de_DE.UTF-8", 1500.5, "1500,5"},
        {"de_DE.UTF-8", 1234567.891, "1234567,89"},
        {"", 1500.5, "1500.5"},
    };
    for (const auto& each : cases) {
        Locale locale(each.locale);
        EXPECT_EQ(LocaleNumberText::format(each.value), each.text)
            << each.locale << " " << each.value;
    }
}

TEST(LocaleNumberText, ParsesOnlyTextThatIsWhollyANumber) {
    const struct {
        const char* locale;
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"en_US.UTF-8", "1234.5", 1234.5},
        {"en_US.UTF-8", "1234.567", 1234.567}, // kept, not rounded to the two shown digits
        {"en_US.UTF-8", "-100", -100},
        {"en_US.UTF-8", "1500.", 1500},
        {"en_US.UTF-8", " 42 ", 42},
        {"en_US.UTF-8", "1,500", std::nullopt}, // would be 1 if the rest were ignored
        {"en_US.UTF-8", "12abc", std::nullopt},
        {"en_US.UTF-8", "abc", std::nullopt},
        {"en_US.UTF-8", "", std::nullopt},
        {"en_US.UTF-8", "   ", std::nullopt},
        {"en_US.UTF-8", "NaN", std::nullopt},
        {"en_US.UTF-8", "∞", std::nullopt},
        {"en_US.UTF-8", "1E999", std::nullopt},
        {"de_DE.UTF-8", "1500,5", 1500.5},
        {"de_DE.UTF-8", "1500.5", std::nullopt}, // a grouping dot, not a decimal one
        {"de_DE.UTF-8", "1.500", std::nullopt},
        {"C", "1500.5", 1500.5},
    };
    for (const auto& each : cases) {
        Locale locale(each.locale);
        EXPECT_EQ(LocaleNumberText::parse(each.text), each.value)
            << each.locale << " \"" << each.text << "\"";
    }
}

TEST(LocaleNumberText, TheLocaleComesFromAllThenNumericThenLangAndIsReadEachTime) {
    const struct {
        const char* lcAll;
        const char* lcNumeric;
        const char* lang;
        const char* name;
        const char* text;
    } cases[] = {
        {"de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8", "de_DE", "0,5"},
        {"", "de_DE.UTF-8@euro", "en_US.UTF-8", "de_DE", "0,5"},
        {"", "", "de_DE.UTF-8", "de_DE", "0,5"},
        {"", "", "", "", "0.5"},
        {"POSIX", "de_DE.UTF-8", "", "", "0.5"},
    };
    for (const auto& each : cases) {
        Locale locale(each.lcAll, each.lcNumeric, each.lang);
        EXPECT_EQ(LocaleNumberText::numericLocaleName(), each.name) << each.lcAll;
        EXPECT_EQ(LocaleNumberText::format(0.5), each.text) << each.lcAll;
    }
}

} // namespace
