// The voice object on the real espeak-ng voices of this machine.

#include "speech/ETextToSpeech.h"

#include "platform/speech/ServiceSettings.h"
#include "tests/support/VoiceFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace lusheng;

namespace {

class EngineSelection : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(EngineSelection, NewVoiceObjectSelectsMandarin) {
    const auto [locale, mandarin] = GetParam();
    test::pinDisplayLocale(locale);
    sp::setServiceSettings(sp::ServiceSettings{}); // engine voices only

    ETextToSpeech voice;
    voice.Create();
    ASSERT_TRUE(voice.IsCreated());
    const TextArray names = voice.GetVoiceNames();
    EXPECT_GT(names.size(), 50U);
    EXPECT_NE(std::find(names.begin(), names.end(), "eSpeak NG English (Great Britain)"),
              names.end());
    const auto selected = voice.GetSelectedVoiceIndex();
    ASSERT_TRUE(selected.has_value());
    EXPECT_EQ(names[*selected], mandarin);
    // No listed voice before it would be taken for Chinese.
    for (std::size_t i = 0; i < *selected; ++i) {
        EXPECT_EQ(names[i].find("Chinese"), std::string::npos) << names[i];
        EXPECT_EQ(names[i].find("中文"), std::string::npos) << names[i];
    }
    EXPECT_TRUE(voice.SelectVoice("eSpeak NG English (Great Britain)"));
    EXPECT_TRUE(voice.SelectVoice(mandarin));
    EXPECT_EQ(voice.GetSelectedVoiceIndex(), selected);
}

INSTANTIATE_TEST_SUITE_P(Locales, EngineSelection,
                         ::testing::Values(std::pair{"en_US.UTF-8", "eSpeak NG Chinese (Mandarin)"},
                                           std::pair{"zh_CN.UTF-8", "eSpeak NG 中文（普通话）"}),
                         [](const auto& info) {
                             return std::string(info.param.first).substr(0, 5);
                         });

} // namespace
