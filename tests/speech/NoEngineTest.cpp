// Without usable espeak-ng data the voice object stays not created, and nothing crashes.

#include "speech/ETextToSpeech.h"

#include "platform/speech/ServiceSettings.h"

#include <gtest/gtest.h>

using namespace lusheng;

TEST(NoEngine, CreateLeavesTheObjectNotCreated) {
    sp::ServiceSettings settings = sp::defaultServiceSettings();
    settings.engineDataPath = "/nonexistent/espeak-ng-data";
    sp::setServiceSettings(settings);

    ETextToSpeech voice;
    voice.Create();
    EXPECT_FALSE(voice.IsCreated());
    EXPECT_TRUE(voice.GetVoiceNames().empty());
    EXPECT_FALSE(voice.SelectVoice(std::nullopt));
    EXPECT_FALSE(voice.SelectVoice("eSpeak NG Chinese (Mandarin)"));
    EXPECT_EQ(voice.GetSelectedVoiceIndex(), std::nullopt);
    voice.Destroy();
    voice.Destroy();
}
