// The engine's own voices, on the espeak-ng installed on this machine.

#include "platform/speech/ISpObjectTokenCategory.h"
#include "platform/speech/ISpVoice.h"
#include "platform/speech/ServiceSettings.h"
#include "platform/speech/SpeechService.h"
#include "platform/speech/SynthesisEngine.h"
#include "platform/speech/VoiceToken.h"
#include "platform/system/TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>

using namespace lusheng;
using namespace lusheng::sp;

namespace {

struct ProbeCase {
    const char* name;
    std::string phonemes;
    bool speaksOwnLanguage;
};

class ChineseProbe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ChineseProbe, RejectsLanguageSwitchesAndToneless) {
    EXPECT_EQ(phonemesShowOwnLanguage(GetParam().phonemes), GetParam().speaksOwnLanguage);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChineseProbe,
    ::testing::Values(ProbeCase{"MandarinWithTones", "n'i214_| X'Au214_|", true},
                      ProbeCase{"CantoneseWithTones", "n'ei5_| h'ou2_|", true},
                      // Debian 12's cmn: tone digits read as English numbers.
                      ProbeCase{"SwitchToEnglish", "(en)nITr'i:_| h,eI@Tr'i:(cmn)_|", false},
                      ProbeCase{"ChineseLetterInEnglish", "_:(en)tS'aIni:z(hak)l'et@", false},
                      ProbeCase{"NoTones", "ni hau", false}, ProbeCase{"Nothing", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<VoiceTokenData> engineCatalogue() {
    ServiceSettings settings;
    settings.includeEngineVoices = true;
    setServiceSettings(settings);
    return readVoiceCatalogue();
}

std::string value(const VoiceTokenData& token, const std::u16string& name) {
    const auto it = token.values.find(name);
    return it == token.values.end() ? std::string() : sys::utf16ToUtf8(it->second);
}

TEST(EngineVoices, MandarinTokenIsBackedByAVoiceThatSpeaksMandarin) {
    const auto catalogue = engineCatalogue();
    ASSERT_GT(catalogue.size(), 50U) << "espeak-ng lists over a hundred voices";
    const auto mandarin = std::find_if(catalogue.begin(), catalogue.end(), [](const auto& t) {
        return sys::utf16ToUtf8(*t.defaultValue) == "eSpeak NG Chinese (Mandarin)";
    });
    ASSERT_NE(mandarin, catalogue.end());
    EXPECT_EQ(value(*mandarin, u"804"), "eSpeak NG 中文（普通话）");
    EXPECT_EQ(value(*mandarin, u"409"), "eSpeak NG Chinese (Mandarin)");

    const std::string phonemes =
        SynthesisEngine::instance().phonemes(mandarin->engineVoice, "你好");
    EXPECT_TRUE(phonemesShowOwnLanguage(phonemes)) << phonemes;
    EXPECT_EQ(phonemes.find("(en)"), std::string::npos) << phonemes;
    EXPECT_NE(phonemes.find("i"), std::string::npos) << phonemes;
}

TEST(EngineVoices, EveryChineseVoiceListedReadsChinese) {
    const auto catalogue = engineCatalogue();
    std::size_t chinese = 0;
    for (const auto& token : catalogue) {
        const std::string description = sys::utf16ToUtf8(*token.defaultValue);
        if (description.find("Chinese") == std::string::npos) {
            continue;
        }
        ++chinese;
        const std::string phonemes =
            SynthesisEngine::instance().phonemes(token.engineVoice, "你好");
        EXPECT_TRUE(phonemesShowOwnLanguage(phonemes)) << description << ": " << phonemes;
    }
    EXPECT_GE(chinese, 2U) << "Mandarin and Cantonese";
    const auto cantonese = std::find_if(catalogue.begin(), catalogue.end(), [](const auto& t) {
        return value(t, u"804") == "eSpeak NG 中文（粤语）";
    });
    EXPECT_NE(cantonese, catalogue.end());
}

TEST(EngineVoices, DescriptionsAreUniqueSoEveryVoiceCanBeChosen) {
    const auto catalogue = engineCatalogue();
    for (const char16_t* language : {u"804", u"409"}) {
        std::vector<std::string> names;
        for (const auto& token : catalogue) {
            const auto it = token.values.find(language);
            names.push_back(
                sys::utf16ToUtf8(it != token.values.end() ? it->second : *token.defaultValue));
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end())
            << "duplicate " << *std::adjacent_find(names.begin(), names.end());
    }
}

TEST(EngineVoices, StartingTheEngineLeavesTheLocaleAlone) {
    std::setlocale(LC_CTYPE, "C");
    ASSERT_EQ(SynthesisEngine::instance().start(), S_OK);
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
    EXPECT_EQ(SynthesisEngine::instance().sampleRate(), 22050);
}

TEST(EngineVoices, VoiceCreationFailsWithoutEngineData) {
    // An existing directory without the engine's data: espeak-ng itself refuses to start.
    const std::filesystem::path empty =
        std::filesystem::temp_directory_path() / "lusheng-empty-espeak-data";
    std::filesystem::create_directories(empty);
    ServiceSettings settings;
    settings.engineDataPath = empty.string();
    setServiceSettings(settings);
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ComPtr<ISpVoice> voice;
    EXPECT_TRUE(FAILED(
        CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, voice.ReleaseAndGetAddressOf())));
    EXPECT_FALSE(voice);

    // With the data back, the next attempt starts the engine.
    setServiceSettings(defaultServiceSettings());
    EXPECT_EQ(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, voice.ReleaseAndGetAddressOf()),
              S_OK);
    CoUninitialize();
}

} // namespace
