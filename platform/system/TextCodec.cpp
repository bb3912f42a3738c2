#include "platform/system/TextCodec.h"

#include <cstdint>

namespace lusheng::sys {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// Reads one character at `pos` and advances past it. Follows the "maximal subpart" practice:
// an invalid sequence consumes its lead byte and the continuation bytes that were still valid.
char32_t decodeOne(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80U) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
        value = lead & 0x1FU;
        minimum = 0x80;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        value = lead & 0x0FU;
        minimum = 0x800;
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        value = lead & 0x07U;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    std::size_t next = pos + 1;
    for (int i = 1; i < length; ++i, ++next) {
        if (next >= text.size() || !isContinuation(static_cast<unsigned char>(text[next]))) {
            pos = next;
            return kReplacement;
        }
        value = (value << 6) | (static_cast<unsigned char>(text[next]) & 0x3FU);
        // Reject overlong forms and surrogates as soon as the second byte shows them.
        if (i == 1) {
            const char32_t partialMin = minimum >> (6 * (length - 2));
            const bool overlong = value < partialMin;
            const bool surrogate = length == 3 && value >= 0x360 && value <= 0x37F;
            const bool tooLarge = length == 4 && value > 0x10F;
            if (overlong || surrogate || tooLarge) {
                pos = next;
                return kReplacement;
            }
        }
    }
    pos = next;
    return value;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool isValidScalar(char32_t cp) {
    return cp < 0xD800 || (cp > 0xDFFF && cp <= 0x10FFFF);
}

} // namespace

std::u32string utf8ToCodePoints(std::string_view utf8, std::vector<std::size_t>* starts) {
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (starts != nullptr) {
            starts->push_back(pos);
        }
        out.push_back(decodeOne(utf8, pos));
    }
    return out;
}

std::string codePointsToUtf8(std::u32string_view codePoints) {
    std::string out;
    out.reserve(codePoints.size());
    for (char32_t cp : codePoints) {
        appendUtf8(out, isValidScalar(cp) ? cp : kReplacement);
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = decodeOne(utf8, pos);
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        char32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                     (static_cast<char32_t>(utf16[i + 1]) - 0xDC00);
                ++i;
            } else {
                cp = kReplacement;
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            cp = kReplacement;
        }
        appendUtf8(out, cp);
    }
    return out;
}

} // namespace lusheng::sys
