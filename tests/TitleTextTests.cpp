// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "TitleText.h"

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace {

// What "%.2f" shows under the C locale: the conversion the title must match.
std::string standardConversion(double amount) {
    char text[400];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return text;
}

TEST(TitleTextFormat, SymbolThenAmountWithTwoDecimals) {
    const struct {
        const char* symbol;
        double amount;
        const char* title;
        const char* masked;
    } cases[] = {
        {"$", 100, "$100.00", "$•••.••"},      {"$", 0, "$0.00", "$•.••"},
        {"", 1234.5, "1234.50", "••••.••"},    {"€", 0.004, "€0.00", "€•.••"},
        {"CHF", 12.3, "CHF12.30", "CHF••.••"},
    };
    for (const auto& each : cases) {
        const std::string title = TitleText::format(each.symbol, each.amount);
        EXPECT_EQ(title, each.title);
        EXPECT_EQ(TitleText::maskNumerals(title), each.masked);
    }
}

TEST(TitleTextFormat, RoundsTheExactValueToTheNearestHundredthWithTiesToEven) {
    const struct {
        double amount;
        const char* shown;
    } cases[] = {
        {2.675, "2.67"},    // really 2.67499999…
        {0.125, "0.12"},    // an exact tie goes to the even digit
        {0.375, "0.38"},    // and up when that digit is even
        {99.995, "100.00"}, // really 99.99500000000000454…
        {1.005, "1.00"},
        {0.005, "0.01"},
        {-2.5, "-2.50"},
        {1e20, "100000000000000000000.00"},
        {123456789.0, "123456789.00"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(TitleText::format("", each.amount), each.shown) << each.amount;
    }
}

TEST(TitleTextFormat, ShowsWhatTheStandardConversionShowsForOddAmounts) {
    const double odd[] = {
        -0.0,
        -1e-9,
        DBL_MIN,
        DBL_TRUE_MIN,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
    };
    for (const double amount : odd) {
        EXPECT_EQ(TitleText::format("$", amount), "$" + standardConversion(amount)) << amount;
    }

    // And for many ordinary ones, ties included.
    std::mt19937_64 random(20260607);
    std::uniform_real_distribution<double> money(-1e7, 1e7);
    for (int count = 0; count < 20000; ++count) {
        const double amount = count % 2 ? money(random) : std::round(money(random) * 1000) / 1000;
        ASSERT_EQ(TitleText::format("", amount), standardConversion(amount)) << amount;
    }
}

TEST(TitleTextFormat, IgnoresTheUsersLocale) {
    // Build a comma-decimal locale of our own; the machine may have none.
    TemporaryFolder folder;
    const std::string command =
        "localedef -i de_DE -f UTF-8 " + (folder / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "localedef (package locales) is needed";
    ScopedEnvironment localePath("LOCPATH", folder.path().string());
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    char check[32];
    std::snprintf(check, sizeof check, "%.2f", 1234.5);
    const std::string localised = check;
    const std::string title = TitleText::format("€", 1234567.891);
    std::setlocale(LC_ALL, previous.c_str());

    EXPECT_EQ(localised, "1234,50"); // the locale really is in force
    EXPECT_EQ(title, "€1234567.89");
}

TEST(TitleTextFormat, ShowsTheSymbolExactlyAsStored) {
    EXPECT_EQ(TitleText::format("%", 5), "%5.00");
    EXPECT_EQ(TitleText::format("%n%s%@%.2f", 5), "%n%s%@%.2f5.00");
    EXPECT_EQ(TitleText::format(" kr ", 5), " kr 5.00");
}

// Panels draw the title on one line: what would break it is left out, and
// what is too long is cut, the symbol before the amount.
TEST(TitleTextFormat, IsOneLineOfAtMost64Characters) {
    const std::string long10000(10000, 'W');
    const std::string cut = std::string(59, 'W') + "…";
    const struct {
        std::string symbol;
        double amount;
        std::string title;
    } cases[] = {
        {std::string("a\0b", 3), 5, "ab5.00"},
        {"C\nH\rF\t", 5, "CHF5.00"},
        {"\u2028$\u2029\u0085", 5, "$5.00"},
        {long10000, 5, cut + "5.00"},
        {long10000, 1234567.5, std::string(53, 'W') + "…1234567.50"},
        {"€", 1e300, "€" + standardConversion(1e300).substr(0, 62) + "…"},
        {"", DBL_MAX, "179769313486231570814527423731704356798070567525844996598917476…"},
        {"$", -DBL_MAX, "$-1797693134862315708145274237317043567980705675258449965989174…"},
    };
    for (const auto& each : cases) {
        const std::string title = TitleText::format(each.symbol, each.amount);
        EXPECT_EQ(title, each.title) << each.symbol.substr(0, 20);
        EXPECT_LE(icu::UnicodeString::fromUTF8(title).countChar32(), 64);
    }
}

// Ill-formed UTF-8 in the stored symbol: each maximal ill-formed part becomes
// U+FFFD, so the title is valid UTF-8 and no stray byte reaches the panel.
TEST(TitleTextFormat, ReplacesIllFormedUtf8InTheSymbol) {
    const struct {
        std::string symbol;
        std::string title;
    } cases[] = {
        {"\xff", "\uFFFD"
                 "1.00"},
        {"\xff$", "\uFFFD$1.00"},
        {"\xe2\x82", "\uFFFD"
                     "1.00"}, // a truncated "€"
        {"\xc0\xb1", "\uFFFD\uFFFD"
                     "1.00"}, // an overlong "1"
        {"\xed\xa0\x80", "\uFFFD\uFFFD\uFFFD"
                         "1.00"}, // a surrogate
        {"\xf4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"
                             "1.00"}, // beyond U+10FFFF
        {"\xe2\x82\xac", "€1.00"},
    };
    for (const auto& each : cases) {
        const std::string title = TitleText::format(each.symbol, 1);
        EXPECT_EQ(title, each.title);
        EXPECT_EQ(TitleText::maskNumerals(title),
                  each.title.substr(0, each.title.size() - 4) + "•.••");
    }
}

TEST(TitleTextMask, HidesEveryClusterThatHoldsANumeral) {
    const struct {
        const char* title;
        const char* masked;
    } cases[] = {
        {"", ""},
        {"1A2b3", "•A•b•"},
        {"CHF%1", "CHF%•"},
        {"\u0663\u0664.\u0665", "••.•"},     // Arabic-Indic digits
        {"\u096A\u0968", "••"},              // Devanagari digits
        {"\uFF17\uFF18", "••"},              // fullwidth digits
        {"x\u00B2 \u00BD \u2153", "x• • •"}, // superscript two, vulgar fractions
        {"\u216B\u2171", "••"},              // Roman numerals
        {"\u4E09\u5341\u842C", "•••"},       // CJK numerals
        {"\u2460\U0001D7D8", "••"},          // circled one, mathematical double-struck zero
        {"1\u0301\u0308", "•"},              // combining marks stay with their digit
        {"e\u0301", "e\u0301"},              // and with a letter
        {"1\uFE0F\u20E3#\uFE0F\u20E3", "•#\uFE0F\u20E3"},     // keycaps: digit one, number sign
        {"\U0001F4B0 5", "\U0001F4B0 •"},                     // money bag
        {"\U0001F1FA\U0001F1F8 7", "\U0001F1FA\U0001F1F8 •"}, // a flag is one cluster
        {"\r\n9", "\r\n•"},
        // prepended marks join the digit after them, which must not show
        {"\u06004\u06DD5\U000110BD6", "•••"},
        {"\u0600456.78", "•••.••"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(TitleText::maskNumerals(each.title), each.masked) << each.title;
    }
}

// The rule written out plainly over ICU's segmentation, against which the
// masking is checked on random mixtures of the characters that make clusters.
std::string maskedByTheRule(const std::string& title) {
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(title);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> clusters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    clusters->setText(text);
    icu::UnicodeString masked;
    for (int32_t start = clusters->first(), end = clusters->next(); end != icu::BreakIterator::DONE;
         start = end, end = clusters->next()) {
        bool numeral = false;
        for (int32_t index = start; index < end; index = text.moveIndex32(index, 1)) {
            numeral = numeral ||
                      u_getIntPropertyValue(text.char32At(index), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
        }
        if (numeral) {
            masked.append(UChar32(0x2022));
        } else {
            masked.append(text, start, end - start);
        }
    }
    std::string result;
    return masked.toUTF8String(result);
}

TEST(TitleTextMask, AgreesWithTheRuleOnRandomTitles) {
    const char32_t pieces[] = {
        U'1',          U'$',          U'a',          U'%',          U'.',          U'\r',
        U'\n',         U'\t',         U'\u00B2',     U'\u0663',     U'\u0301',     U'\u20E3',
        U'\uFE0F',     U'\u200D',     U'\u20AC',     U'\u4E09',     U'\u0915',     U'\u093F',
        U'\u094D',     U'\u1100',     U'\u1161',     U'\uAC00',     U'\u0E33',     U'\u0600',
        U'\U0001F1FA', U'\U0001F1F8', U'\U0001F468', U'\U0001F3FD', U'\U0001F4B0', U'\U0001D7D8',
    };
    std::mt19937 random(2026);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int count = 0; count < 5000; ++count) {
        icu::UnicodeString text;
        for (int each = length(random); each > 0; --each) {
            text.append(static_cast<UChar32>(pieces[piece(random)]));
        }
        std::string title;
        text.toUTF8String(title);
        ASSERT_EQ(TitleText::maskNumerals(title), maskedByTheRule(title)) << title;
    }
}

TEST(TitleTextMask, NeverPassesIllFormedBytesOn) {
    EXPECT_EQ(TitleText::maskNumerals("\xff"
                                      "1"),
              "\uFFFD•");
    EXPECT_EQ(TitleText::maskNumerals("2\xe2\x82"), "•\uFFFD");
    EXPECT_EQ(TitleText::maskNumerals("\xc0\xb1"), "\uFFFD\uFFFD");
}

} // namespace
