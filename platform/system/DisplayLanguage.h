#pragma once
// The user's display language as a 16-bit language identifier (0x0804 for zh_CN, 0x0409 for
// en_US, ...), worked out from the locale environment the way gettext picks a message language.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lusheng::sys {

using LanguageId = std::uint16_t;
inline constexpr LanguageId kLanguageEnglishUS = 0x0409;

// Reads LANGUAGE, LC_ALL, LC_MESSAGES and LANG. LANGUAGE counts only when the locale itself is
// not C/POSIX, as in gettext. C/POSIX, unset or unknown locales give 0x0409.
LanguageId userDisplayLanguage();

// The same rule over a given environment lookup, so callers and tests need not touch the
// process environment.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
LanguageId displayLanguageFrom(const EnvironmentLookup& lookup);

// "zh_CN.UTF-8", "zh-TW", "en_GB@euro", "ja" → the language id, or nullopt when unknown.
std::optional<LanguageId> languageIdForLocaleName(std::string_view localeName);

// The identifier in upper-case hexadecimal without leading zeros: 0x0804 → "804", 0 → "0".
std::string languageValueName(LanguageId id);

} // namespace lusheng::sys
