#include "platform/system/CaseAndSearch.h"

#include "platform/system/TextCodec.h"

#include <algorithm>
#include <locale.h>
#include <wctype.h>

namespace lusheng::sys {
namespace {

// glibc's C.UTF-8 carries the full Unicode case tables and is always installed with libc.
locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

char32_t lowerOne(char32_t cp) {
    if (cp < 0x80) {
        return (cp >= 'A' && cp <= 'Z') ? cp + ('a' - 'A') : cp;
    }
    if (locale_t loc = unicodeLocale()) {
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), loc));
    }
    return cp;
}

} // namespace

std::string toLowerCharwise(std::string_view utf8) {
    std::u32string cps = utf8ToCodePoints(utf8);
    std::transform(cps.begin(), cps.end(), cps.begin(), lowerOne);
    return codePointsToUtf8(cps);
}

std::size_t findAtCharacterStart(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) {
        return 0;
    }
    // Comparing decoded characters means a match can never start inside a multi-byte
    // character, whatever bytes the two texts hold.
    std::vector<std::size_t> starts;
    const std::u32string hay = utf8ToCodePoints(haystack, &starts);
    const std::u32string pin = utf8ToCodePoints(needle);
    const auto it = std::search(hay.begin(), hay.end(), pin.begin(), pin.end());
    if (it == hay.end()) {
        return std::string_view::npos;
    }
    return starts[static_cast<std::size_t>(it - hay.begin())];
}

} // namespace lusheng::sys
