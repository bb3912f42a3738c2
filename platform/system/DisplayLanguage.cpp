#include "platform/system/DisplayLanguage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

namespace lusheng::sys {
namespace {

struct LocaleEntry {
    std::string_view name; // language, or language_TERRITORY
    LanguageId id;
};

// Language-only rows give the language's primary sublanguage, used when the territory is
// missing or not listed.
constexpr std::array kLocales{
    LocaleEntry{"zh", 0x0804},    LocaleEntry{"zh_CN", 0x0804}, LocaleEntry{"zh_SG", 0x1004},
    LocaleEntry{"zh_TW", 0x0404}, LocaleEntry{"zh_HK", 0x0C04}, LocaleEntry{"zh_MO", 0x1404},
    LocaleEntry{"en", 0x0409},    LocaleEntry{"en_US", 0x0409}, LocaleEntry{"en_GB", 0x0809},
    LocaleEntry{"en_AU", 0x0C09}, LocaleEntry{"en_CA", 0x1009}, LocaleEntry{"en_NZ", 0x1409},
    LocaleEntry{"en_IE", 0x1809}, LocaleEntry{"en_ZA", 0x1C09}, LocaleEntry{"en_IN", 0x4009},
    LocaleEntry{"en_SG", 0x4809}, LocaleEntry{"ja", 0x0411},    LocaleEntry{"ja_JP", 0x0411},
    LocaleEntry{"ko", 0x0412},    LocaleEntry{"ko_KR", 0x0412}, LocaleEntry{"de", 0x0407},
    LocaleEntry{"de_DE", 0x0407}, LocaleEntry{"de_CH", 0x0807}, LocaleEntry{"de_AT", 0x0C07},
    LocaleEntry{"fr", 0x040C},    LocaleEntry{"fr_FR", 0x040C}, LocaleEntry{"fr_BE", 0x080C},
    LocaleEntry{"fr_CA", 0x0C0C}, LocaleEntry{"fr_CH", 0x100C}, LocaleEntry{"es", 0x0C0A},
    LocaleEntry{"es_ES", 0x0C0A}, LocaleEntry{"es_MX", 0x080A}, LocaleEntry{"es_US", 0x540A},
    LocaleEntry{"it", 0x0410},    LocaleEntry{"it_IT", 0x0410}, LocaleEntry{"pt", 0x0816},
    LocaleEntry{"pt_PT", 0x0816}, LocaleEntry{"pt_BR", 0x0416}, LocaleEntry{"ru", 0x0419},
    LocaleEntry{"ru_RU", 0x0419}, LocaleEntry{"uk", 0x0422},    LocaleEntry{"uk_UA", 0x0422},
    LocaleEntry{"pl", 0x0415},    LocaleEntry{"pl_PL", 0x0415}, LocaleEntry{"cs", 0x0405},
    LocaleEntry{"cs_CZ", 0x0405}, LocaleEntry{"nl", 0x0413},    LocaleEntry{"nl_NL", 0x0413},
    LocaleEntry{"nl_BE", 0x0813}, LocaleEntry{"sv", 0x041D},    LocaleEntry{"sv_SE", 0x041D},
    LocaleEntry{"da", 0x0406},    LocaleEntry{"da_DK", 0x0406}, LocaleEntry{"nb", 0x0414},
    LocaleEntry{"nb_NO", 0x0414}, LocaleEntry{"fi", 0x040B},    LocaleEntry{"fi_FI", 0x040B},
    LocaleEntry{"el", 0x0408},    LocaleEntry{"el_GR", 0x0408}, LocaleEntry{"hu", 0x040E},
    LocaleEntry{"hu_HU", 0x040E}, LocaleEntry{"tr", 0x041F},    LocaleEntry{"tr_TR", 0x041F},
    LocaleEntry{"ar", 0x0401},    LocaleEntry{"ar_SA", 0x0401}, LocaleEntry{"ar_EG", 0x0C01},
    LocaleEntry{"he", 0x040D},    LocaleEntry{"he_IL", 0x040D}, LocaleEntry{"th", 0x041E},
    LocaleEntry{"th_TH", 0x041E}, LocaleEntry{"vi", 0x042A},    LocaleEntry{"vi_VN", 0x042A},
    LocaleEntry{"id", 0x0421},    LocaleEntry{"id_ID", 0x0421}, LocaleEntry{"ms", 0x043E},
    LocaleEntry{"ms_MY", 0x043E}, LocaleEntry{"hi", 0x0439},    LocaleEntry{"hi_IN", 0x0439},
    LocaleEntry{"ro", 0x0418},    LocaleEntry{"ro_RO", 0x0418}, LocaleEntry{"bg", 0x0402},
    LocaleEntry{"bg_BG", 0x0402}, LocaleEntry{"ca", 0x0403},    LocaleEntry{"ca_ES", 0x0403},
};

std::optional<LanguageId> lookup(std::string_view key) {
    const auto it = std::find_if(kLocales.begin(), kLocales.end(),
                                 [key](const LocaleEntry& e) { return e.name == key; });
    if (it == kLocales.end()) {
        return std::nullopt;
    }
    return it->id;
}

bool isCLocale(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.") ||
           name.starts_with("C@");
}

} // namespace

std::optional<LanguageId> languageIdForLocaleName(std::string_view localeName) {
    // Drop ".codeset" and "@modifier"; accept "-" as well as "_" between the parts.
    const auto end = localeName.find_first_of(".@");
    std::string name(localeName.substr(0, end));
    std::replace(name.begin(), name.end(), '-', '_');
    const auto sep = name.find('_');
    std::string language = name.substr(0, sep);
    std::transform(language.begin(), language.end(), language.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (language.empty()) {
        return std::nullopt;
    }
    if (sep != std::string::npos) {
        std::string territory = name.substr(sep + 1);
        std::transform(territory.begin(), territory.end(), territory.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (auto id = lookup(language + "_" + territory)) {
            return id;
        }
    }
    return lookup(language);
}

LanguageId displayLanguageFrom(const EnvironmentLookup& env) {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (auto value = env(name); value && !value->empty()) {
            locale = *value;
            break;
        }
    }
    if (isCLocale(locale)) {
        return kLanguageEnglishUS;
    }
    if (auto list = env("LANGUAGE"); list && !list->empty()) {
        // The first entry of the priority list that we know decides.
        std::string_view rest(*list);
        while (!rest.empty()) {
            const auto colon = rest.find(':');
            if (auto id = languageIdForLocaleName(rest.substr(0, colon))) {
                return *id;
            }
            if (colon == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(colon + 1);
        }
    }
    return languageIdForLocaleName(locale).value_or(kLanguageEnglishUS);
}

LanguageId userDisplayLanguage() {
    return displayLanguageFrom([](const char* name) -> std::optional<std::string> {
        if (const char* value = std::getenv(name)) {
            return std::string(value);
        }
        return std::nullopt;
    });
}

std::string languageValueName(LanguageId id) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    if (id == 0) {
        return "0";
    }
    std::string out;
    for (unsigned value = id; value != 0; value >>= 4U) {
        out.insert(out.begin(), kDigits[value & 0xFU]);
    }
    return out;
}

} // namespace lusheng::sys
