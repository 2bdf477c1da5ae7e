#include "TitleText.h"

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

// Decoding replaces each ill-formed sequence with U+FFFD.
std::string validUtf8(const std::string& text) {
    std::string valid;
    icu::UnicodeString::fromUTF8(text).toUTF8String(valid);
    return valid;
}

bool isWellFormed(const std::string& text) {
    if (text.size() > INT32_MAX) {
        return false;
    }
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t index = 0; index < length;) {
        UChar32 codePoint;
        U8_NEXT(text.data(), index, length, codePoint);
        if (codePoint < 0) {
            return false;
        }
    }
    return true;
}

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

constexpr char16_t bullet = u'\u2022';

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
    std::string title = isWellFormed(symbol) ? symbol : validUtf8(symbol);
    title.append(digits, result.ptr);
    return title;
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
        if (isNumeral(text.char32At(start))) {
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
