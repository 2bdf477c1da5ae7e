// SPDX-License-Identifier: GPL-3.0-or-later
#include "TitleText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <memory>
#include <optional>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace TitleText {

namespace {

// Building a break iterator costs far more than using one; the title is
// masked twice a second, so each thread keeps its own.
icu::BreakIterator* graphemeIterator() {
    thread_local const std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}

bool isNumeral(UChar32 codePoint) {
    return u_getIntPropertyValue(codePoint, UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

// A cluster may start with something else and still carry a digit: a
// prepended mark (U+0600 ARABIC NUMBER SIGN) joins the digit after it.
bool hasNumeral(const icu::UnicodeString& text, int32_t start, int32_t end) {
    for (int32_t index = start; index < end; index = text.moveIndex32(index, 1)) {
        if (isNumeral(text.char32At(index))) {
            return true;
        }
    }
    return false;
}

constexpr char16_t bullet = u'\u2022';
constexpr char16_t ellipsis = u'\u2026';

// Panels show the title on one line, and no wider than this many characters.
constexpr int32_t longestTitle = 64;

// Control characters and line or paragraph separators would break the
// panel's one line, or show as boxes.
bool breaksTheLine(UChar32 codePoint) {
    const auto category = u_charType(codePoint);
    return category == U_CONTROL_CHAR || category == U_LINE_SEPARATOR ||
           category == U_PARAGRAPH_SEPARATOR;
}

// Printable ASCII: one code point each, of grapheme break class Other, none
// that breaks the line; only the digits are numerals.
bool isPrintableAscii(unsigned char character) {
    return character >= 0x20 && character < 0x7f;
}

// When every code point of the title has the grapheme break class Other, no
// rule of UAX #29 joins two of them, so each is a cluster of its own. That is
// the common case ("$", "€", "CHF" and digits) and it needs no break
// iterator. Nothing when the title is not such a text.
std::optional<std::string> maskSingleCodePointClusters(const std::string& title) {
    if (title.size() > INT32_MAX) {
        return std::nullopt;
    }
    const auto length = static_cast<int32_t>(title.size());
    std::string masked;
    masked.reserve(title.size() + 16);
    for (int32_t index = 0; index < length;) {
        if (const char character = title[index]; isPrintableAscii(character)) {
            if (character >= '0' && character <= '9') {
                masked += "\u2022";
            } else {
                masked += character;
            }
            ++index;
            continue;
        }
        const int32_t start = index;
        UChar32 codePoint;
        U8_NEXT(title.data(), index, length, codePoint);
        if (codePoint < 0 ||
            u_getIntPropertyValue(codePoint, UCHAR_GRAPHEME_CLUSTER_BREAK) != U_GCB_OTHER) {
            return std::nullopt;
        }
        if (isNumeral(codePoint)) {
            masked += "\u2022";
        } else {
            masked.append(title, start, index - start);
        }
    }
    return masked;
}

} // namespace

std::string format(const std::string& symbol, double amount) {
    // Enough for the 309 integer digits of the largest double, sign and decimals.
    char digits[400];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, amount, std::chars_format::fixed, 2);
    const std::size_t numberSize = result.ptr - digits;
    // The usual title ("$", "CHF") is its bytes as they are, and needs no ICU.
    if (symbol.size() + numberSize <= static_cast<std::size_t>(longestTitle) &&
        std::all_of(symbol.begin(), symbol.end(), isPrintableAscii)) {
        return symbol + std::string(digits, numberSize);
    }
    const icu::UnicodeString number(digits, static_cast<int32_t>(numberSize), US_INV);

    // Decoding replaces each ill-formed sequence with U+FFFD.
    const icu::UnicodeString given = icu::UnicodeString::fromUTF8(symbol);
    icu::UnicodeString title;
    for (int32_t index = 0; index < given.length(); index = given.moveIndex32(index, 1)) {
        if (!breaksTheLine(given.char32At(index))) {
            title.append(given.char32At(index));
        }
    }
    const int32_t symbolLength = title.countChar32();
    const int32_t numberLength = number.countChar32();
    // The symbol gives way to the amount; an amount too long even alone is cut.
    if (symbolLength + numberLength > longestTitle && numberLength < longestTitle) {
        const int32_t kept = std::max(0, longestTitle - numberLength - 1);
        title.truncate(title.moveIndex32(0, kept));
        if (symbolLength > 0) {
            title.append(ellipsis);
        }
    }
    title.append(number);
    if (title.countChar32() > longestTitle) {
        title.truncate(title.moveIndex32(0, longestTitle - 1));
        title.append(ellipsis);
    }
    std::string text;
    return title.toUTF8String(text);
}

std::string maskNumerals(const std::string& title) {
    if (auto masked = maskSingleCodePointClusters(title)) {
        return std::move(*masked);
    }
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(title);
    icu::BreakIterator* iterator = graphemeIterator();
    icu::UnicodeString masked;
    if (!iterator) {
        // Without segmentation, masking code point by code point still hides every numeral.
        for (int32_t index = 0; index < text.length(); index = text.moveIndex32(index, 1)) {
            const UChar32 codePoint = text.char32At(index);
            if (isNumeral(codePoint)) {
                masked.append(bullet);
            } else {
                masked.append(codePoint);
            }
        }
        std::string result;
        masked.toUTF8String(result);
        return result;
    }
    iterator->setText(text);
    int32_t start = iterator->first();
    for (int32_t end = iterator->next(); end != icu::BreakIterator::DONE;
         start = end, end = iterator->next()) {
        if (hasNumeral(text, start, end)) {
            masked.append(bullet);
        } else {
            masked.append(text, start, end - start);
        }
    }
    std::string result;
    masked.toUTF8String(result);
    return result;
}

} // namespace TitleText
