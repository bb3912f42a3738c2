#include "platform/speech/VoiceToken.h"

#include "platform/speech/ISpObjectTokenCategory.h"
#include "platform/speech/ServiceSettings.h"
#include "platform/speech/SynthesisEngine.h"
#include "platform/system/DisplayLanguage.h"
#include "platform/system/TextCodec.h"

#include <ini.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <system_error>

namespace lusheng::sp {
namespace {

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string upperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::u16string tokenIdPrefix() {
    return std::u16string(SPCAT_VOICES) + u"\\Tokens\\";
}

struct TokenFileReader {
    VoiceTokenData data;
    bool hasVoiceSection = false;

    static int onEntry(void* user, const char* section, const char* name, const char* value) {
        auto& self = *static_cast<TokenFileReader*>(user);
        const std::string sec = lowerAscii(section);
        const std::string key = name;
        const std::u16string text = sys::utf8ToUtf16(value);
        if (sec == "voice") {
            self.hasVoiceSection = true;
            if (lowerAscii(key) == "engine") {
                self.data.engine = lowerAscii(value);
            } else if (lowerAscii(key) == "enginevoice") {
                self.data.engineVoice = value;
            }
        } else if (sec == "description") {
            if (lowerAscii(key) == "default") {
                self.data.defaultValue = text;
            } else {
                // Value names are language ids in hexadecimal; "0804" and "804" are one name.
                std::string hex = upperAscii(key);
                hex.erase(0, std::min(hex.find_first_not_of('0'), hex.size() - 1));
                self.data.values[sys::utf8ToUtf16(hex)] = text;
            }
        } else if (sec == "attributes") {
            self.data.attributes[sys::utf8ToUtf16(key)] = text;
        }
        return 1;
    }
};

struct FamilyName {
    const char* language;
    const char* english;
    const char* chinese;
};

// The first working voice of each Chinese language is presented under the language's plain
// name, whichever of espeak-ng's voices for it turned out to work.
constexpr std::array kChineseFamilies{
    FamilyName{"cmn", "Chinese (Mandarin)", "中文（普通话）"},
    FamilyName{"yue", "Chinese (Cantonese)", "中文（粤语）"},
    FamilyName{"hak", "Chinese (Hakka)", "中文（客家话）"},
    FamilyName{"nan", "Chinese (Min Nan)", "中文（闽南语）"},
};

struct SuffixName {
    const char* english;
    const char* chinese;
};
constexpr std::array kChineseSuffixes{
    SuffixName{"latin as English", "拉丁字母按英语读"},
    SuffixName{"latin as Pinyin", "拉丁字母按拼音读"},
    SuffixName{"latin as Jyutping", "拉丁字母按粤拼读"},
};

const FamilyName* familyOf(const std::string& language) {
    const std::string primary = language.substr(0, language.find('-'));
    for (const auto& family : kChineseFamilies) {
        if (primary == family.language) {
            return &family;
        }
    }
    return nullptr;
}

// "Chinese (Cantonese, latin as Jyutping)" → "中文（粤语，拉丁字母按粤拼读）", when every
// part is known.
std::optional<std::string> chineseNameOf(const FamilyName& family, const std::string& name) {
    const auto comma = name.find(", ");
    if (comma == std::string::npos || name.back() != ')') {
        return std::nullopt;
    }
    const std::string suffix = name.substr(comma + 2, name.size() - comma - 3);
    for (const auto& known : kChineseSuffixes) {
        if (suffix == known.english) {
            std::string chinese = family.chinese;
            // Insert before the closing full-width parenthesis.
            const std::string close = "）";
            chinese.insert(chinese.size() - close.size(), std::string("，") + known.chinese);
            return chinese;
        }
    }
    return std::nullopt;
}

std::optional<sys::LanguageId> languageIdOfEngineLanguage(const std::string& language) {
    if (const FamilyName* family = familyOf(language)) {
        return std::string_view(family->language) == "yue" ? sys::LanguageId{0x0C04}
                                                           : sys::LanguageId{0x0804};
    }
    return sys::languageIdForLocaleName(language);
}

} // namespace

WCHAR* taskMemString(const std::u16string& text) {
    auto* out = static_cast<WCHAR*>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
    if (out != nullptr) {
        std::copy(text.begin(), text.end(), out);
        out[text.size()] = u'\0';
    }
    return out;
}

namespace {
HRESULT handOut(const std::u16string& text, WCHAR** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = taskMemString(text);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}
} // namespace

HRESULT VoiceToken::GetId(WCHAR** id) {
    return handOut(data_.id, id);
}

HRESULT VoiceToken::GetStringValue(const WCHAR* valueName, WCHAR** value) {
    if (value == nullptr) {
        return E_POINTER;
    }
    *value = nullptr;
    if (valueName == nullptr || *valueName == u'\0') {
        return data_.defaultValue ? handOut(*data_.defaultValue, value) : SPERR_NOT_FOUND;
    }
    const auto it = data_.values.find(valueName);
    return it != data_.values.end() ? handOut(it->second, value) : SPERR_NOT_FOUND;
}

HRESULT VoiceToken::GetAttribute(const WCHAR* name, WCHAR** value) {
    if (value == nullptr || name == nullptr) {
        return E_POINTER;
    }
    *value = nullptr;
    const auto it = data_.attributes.find(name);
    return it != data_.attributes.end() ? handOut(it->second, value) : SPERR_NOT_FOUND;
}

std::optional<VoiceTokenData> readVoiceTokenFile(const std::filesystem::path& file) {
    TokenFileReader reader;
    if (ini_parse(file.c_str(), &TokenFileReader::onEntry, &reader) != 0 ||
        !reader.hasVoiceSection) {
        return std::nullopt;
    }
    reader.data.id = tokenIdPrefix() + sys::utf8ToUtf16(file.stem().string());
    return std::move(reader.data);
}

std::vector<VoiceTokenData> engineVoiceTokens(const std::vector<EngineVoiceInfo>& voices) {
    std::vector<VoiceTokenData> tokens;
    std::vector<const FamilyName*> named;
    for (const auto& voice : voices) {
        VoiceTokenData token;
        token.id = tokenIdPrefix() + u"espeak-ng\\" + sys::utf8ToUtf16(voice.identifier);
        token.engine = kEngineEspeakNg;
        token.engineVoice = voice.identifier;

        std::string english = voice.name;
        std::optional<std::string> chinese;
        if (const FamilyName* family = familyOf(voice.language)) {
            if (std::find(named.begin(), named.end(), family) == named.end()) {
                named.push_back(family);
                english = family->english;
                chinese = family->chinese;
            } else {
                chinese = chineseNameOf(*family, voice.name);
            }
        }
        token.defaultValue = sys::utf8ToUtf16("eSpeak NG " + english);
        token.values[u"409"] = *token.defaultValue;
        if (chinese) {
            const std::u16string zh = sys::utf8ToUtf16("eSpeak NG " + *chinese);
            for (const char16_t* lang : {u"804", u"404", u"C04", u"1004", u"1404"}) {
                token.values[lang] = zh;
            }
        }
        token.attributes[u"Name"] = sys::utf8ToUtf16(voice.name);
        token.attributes[u"Vendor"] = u"eSpeak NG";
        if (auto id = languageIdOfEngineLanguage(voice.language)) {
            token.attributes[u"Language"] = sys::utf8ToUtf16(sys::languageValueName(*id));
        }
        if (voice.gender == 1 || voice.gender == 2) {
            token.attributes[u"Gender"] = voice.gender == 1 ? u"Male" : u"Female";
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::vector<VoiceTokenData> readVoiceCatalogue() {
    const ServiceSettings settings = serviceSettings();
    std::vector<VoiceTokenData> catalogue;
    for (const auto& dir : settings.voiceDirectories) {
        std::error_code error;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
            if (entry.path().extension() == ".voice" && entry.is_regular_file(error)) {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end(),
                  [](const auto& a, const auto& b) { return a.filename() < b.filename(); });
        for (const auto& file : files) {
            if (auto token = readVoiceTokenFile(file)) {
                catalogue.push_back(std::move(*token));
            }
        }
    }
    if (settings.includeEngineVoices) {
        auto engine = engineVoiceTokens(SynthesisEngine::instance().usableVoices());
        std::move(engine.begin(), engine.end(), std::back_inserter(catalogue));
    }
    return catalogue;
}

} // namespace lusheng::sp
