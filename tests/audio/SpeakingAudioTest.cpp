// The voice object speaking on a real sound server: a private PulseAudio server with a null
// sink, recorded through its monitor.

#include "speech/ETextToSpeech.h"

#include "platform/system/WindowMessages.h"
#include "tests/support/MonitorRecorder.h"
#include "tests/support/VoiceFixture.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>

using namespace lusheng;
using namespace std::chrono_literals;
using test::Clock;

namespace {

const char* const kSentence = "今天天气很好，我们一起去公园散步吧。春天来了，花都开了。";

class SpeakingAudio : public ::testing::Test {
  protected:
    void SetUp() override {
        test::pinDisplayLocale("zh_CN.UTF-8");
        test::useOnlyVoiceDirectories({voices_.path()});
        voice_.Create();
        ASSERT_TRUE(voice_.IsCreated());
        ASSERT_EQ(voice_.GetSelectedVoiceIndex(), 0U);
    }

    // Blocks until everything queued has been heard; the wait goes through the voice object.
    bool waitUntilQuiet(std::int32_t ms) {
        const auto start = Clock::now();
        voice_.Speak(kSpeakNothing, std::nullopt, ms);
        return Clock::now() - start < std::chrono::milliseconds(ms);
    }

    static std::int64_t msBetween(Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count();
    }

    test::VoiceDirectory voices_{{
        {.file = "1", .description = "中文普通话", .engineVoice = "sit/cmn-Latn-pinyin"},
    }};
    test::MonitorRecorder recorder_;
    ETextToSpeech voice_;
};

TEST_F(SpeakingAudio, PauseResumeAndStopAreHeardAtOnce) {
    auto start = Clock::now();
    ASSERT_TRUE(voice_.Speak(kSpeakText, std::string(kSentence) + kSentence));
    ASSERT_TRUE(recorder_.waitForSound(start, 3s)) << "speech is heard after Speak";
    std::this_thread::sleep_for(300ms);

    const auto paused = Clock::now();
    ASSERT_TRUE(voice_.Pause());
    const auto silentFrom = recorder_.waitForSilence(paused, 400ms, 3s);
    ASSERT_TRUE(silentFrom.has_value()) << "silence after Pause";
    EXPECT_LE(msBetween(paused, *silentFrom), 100);

    const auto resumed = Clock::now();
    ASSERT_TRUE(voice_.Resume());
    EXPECT_TRUE(recorder_.waitForSound(resumed, 1s)) << "sound again after Resume";
    std::this_thread::sleep_for(300ms);

    const auto stopped = Clock::now();
    ASSERT_TRUE(voice_.Stop());
    const auto quietFrom = recorder_.waitForSilence(stopped, 400ms, 3s);
    ASSERT_TRUE(quietFrom.has_value()) << "silence after Stop";
    EXPECT_LE(msBetween(stopped, *quietFrom), 100);
    EXPECT_TRUE(waitUntilQuiet(2000)) << "nothing left queued after Stop";
    EXPECT_FALSE(recorder_.waitForSound(stopped + 150ms, 500ms))
        << "the stopped text does not come back";
}

TEST_F(SpeakingAudio, TwoTextsNotifyStartEndStartEndOnlyAfterPlayback) {
    struct Message {
        std::uintptr_t wParam;
        Clock::time_point time;
        std::thread::id thread;
    };
    std::vector<Message> messages;
    sys::MessageWindow window([&](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
        if (message == kSpeechNotifyMessage) {
            messages.push_back({wParam, Clock::now(), std::this_thread::get_id()});
        }
        return std::intptr_t{0};
    });
    const auto start = Clock::now();
    ASSERT_TRUE(voice_.Speak(kSpeakText, std::string("你好。"), std::nullopt, &window));
    // The wait keeps handling the voice's messages on this thread.
    ASSERT_TRUE(voice_.Speak(kSpeakText, std::string("再见。"), -1));

    ASSERT_EQ(messages.size(), 4U);
    const std::vector<std::uintptr_t> order{messages[0].wParam, messages[1].wParam,
                                            messages[2].wParam, messages[3].wParam};
    EXPECT_EQ(order, (std::vector<std::uintptr_t>{1, 2, 1, 2}));
    for (const auto& m : messages) {
        EXPECT_EQ(m.thread, std::this_thread::get_id());
    }
    const auto span = recorder_.soundSpan(start);
    ASSERT_TRUE(span.has_value());
    // The last end comes once the last sound has been played (the recorder's block is 10 ms).
    EXPECT_GE(msBetween(span->second, messages[3].time), -30);
}

TEST_F(SpeakingAudio, RateMinusTenZeroTenLastThreeToOneToAThird) {
    std::map<int, double> seconds;
    for (int rate : {0, -10, 10}) {
        ASSERT_TRUE(voice_.SetRate(rate));
        const auto start = Clock::now();
        ASSERT_TRUE(voice_.Speak(kSpeakText, std::string(kSentence), -1));
        const auto span = recorder_.soundSpan(start);
        ASSERT_TRUE(span.has_value());
        seconds[rate] = std::chrono::duration<double>(span->second - span->first).count();
    }
    EXPECT_NEAR(seconds[-10] / seconds[0], 3.0, 0.3);
    EXPECT_NEAR(seconds[10] / seconds[0], 1.0 / 3.0, 1.0 / 30.0);
    EXPECT_FALSE(voice_.SetRate(11));
    EXPECT_FALSE(voice_.SetRate(-11));
}

TEST_F(SpeakingAudio, AfterSpeakingToAFileTheLoudspeakerSpeaksWithTheSameVoiceAndRate) {
    ASSERT_TRUE(voice_.SetRate(5));
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("lusheng-audio-" + std::to_string(getpid()) + ".wav"))
                                 .string();
    const auto rendering = Clock::now();
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, std::string(kSentence), file));
    SF_INFO info{};
    SNDFILE* sound = sf_open(file.c_str(), SFM_READ, &info);
    ASSERT_NE(sound, nullptr);
    sf_close(sound);
    std::filesystem::remove(file);
    const double fileSeconds = static_cast<double>(info.frames) / info.samplerate;
    EXPECT_FALSE(recorder_.waitForSound(rendering, 300ms)) << "the file's speech is not heard";

    EXPECT_EQ(voice_.GetRate(), 5);
    EXPECT_EQ(voice_.GetSelectedVoiceIndex(), 0U);
    const auto start = Clock::now();
    ASSERT_TRUE(voice_.Speak(kSpeakText, std::string(kSentence), -1));
    const auto span = recorder_.soundSpan(start);
    ASSERT_TRUE(span.has_value()) << "heard from the loudspeaker again";
    const double heard = std::chrono::duration<double>(span->second - span->first).count();
    // The same voice at the same rate takes as long as the file's speech (the sound span
    // leaves out the quiet ends of the file).
    EXPECT_NEAR(heard, fileSeconds, fileSeconds * 0.2);
}

TEST_F(SpeakingAudio, ModesAndWaits) {
    EXPECT_FALSE(voice_.Speak(4, std::string("不说")));
    EXPECT_FALSE(voice_.Speak(-1, std::string("不说")));
    const auto start = Clock::now();
    EXPECT_TRUE(voice_.Speak(kSpeakNothing, std::string("不说"), 300));
    EXPECT_GE(Clock::now() - start, 0ms);
    EXPECT_FALSE(recorder_.waitForSound(start, 300ms));
    EXPECT_TRUE(voice_.Speak(kSpeakMarkup, std::string("<rate speed=\"5\">标记</rate>"), -1));
    EXPECT_FALSE(voice_.Speak(kSpeakMarkup, std::string("<rate>坏的标记"), -1));
    EXPECT_TRUE(voice_.Speak(kSpeakText, std::string("一二三"), 0));
    EXPECT_TRUE(waitUntilQuiet(10000));
}

// 10 000 random calls from this thread, with a notification window that handles every message:
// no deadlock, no crash, and the voice still speaks afterwards.
TEST_F(SpeakingAudio, RandomCallsNeverDeadlock) {
    std::size_t notifications = 0;
    std::vector<std::uintptr_t> last;
    sys::MessageWindow window([&](std::uint32_t, std::uintptr_t wParam, std::intptr_t) {
        ++notifications;
        last.push_back(wParam);
        return std::intptr_t{0};
    });
    std::mt19937 random(20261211);
    const std::vector<std::string> texts{"你好。", "", "春天来了。", "<silence msec=\"20\"/>好"};
    for (int i = 0; i < 10000; ++i) {
        switch (random() % 6) {
        case 0:
            voice_.Speak(static_cast<int>(random() % 3 == 0 ? kSpeakMarkup : kSpeakText),
                         texts[random() % texts.size()],
                         random() % 50 == 0 ? std::optional<std::int32_t>(5) : std::nullopt,
                         &window);
            break;
        case 1:
            voice_.Stop();
            break;
        case 2:
            voice_.Pause();
            break;
        case 3:
            voice_.Resume();
            break;
        case 4:
            voice_.SetRate(static_cast<int>(random() % 23) - 11);
            break;
        default:
            sys::dispatchSentMessages();
            break;
        }
    }
    voice_.Stop();
    voice_.Resume();
    ASSERT_TRUE(voice_.SetRate(0));
    // The monitor of a null sink flushed thousands of times lags behind, so the last text is
    // checked through the voice itself: it starts, ends, and takes its real playing time.
    const auto start = Clock::now();
    ASSERT_TRUE(voice_.Speak(kSpeakText, std::string("还在说话。"), 20000, &window));
    ASSERT_GE(last.size(), 2U);
    EXPECT_EQ(std::vector<std::uintptr_t>(last.end() - 2, last.end()),
              (std::vector<std::uintptr_t>{1, 2}));
    EXPECT_GE(Clock::now() - start, 700ms) << "the text was played, not dropped";
    EXPECT_GT(notifications, 0U);
}

// The sound server goes away while the voice speaks and comes back later.
TEST(SoundServerRestart, ReadingEndsAndTheNextSpeakWorks) {
    const std::string dir =
        (std::filesystem::temp_directory_path() / "lusheng-pulse-restart").string();
    const std::string script = std::string(LUSHENG_TESTS_DIR) + "/pulse-server.sh";
    ASSERT_EQ(std::system((script + " start " + dir).c_str()), 0);
    ::setenv("PULSE_SERVER", ("unix:" + dir + "/native").c_str(), 1);
    test::VoiceDirectory voices(
        {{.file = "1", .description = "中文", .engineVoice = "sit/cmn-Latn-pinyin"}});
    test::useOnlyVoiceDirectories({voices.path()});
    ETextToSpeech voice;
    voice.Create();
    ASSERT_TRUE(voice.Speak(kSpeakText, std::string(kSentence) + kSentence));
    std::this_thread::sleep_for(300ms);

    ASSERT_EQ(std::system((script + " stop " + dir).c_str()), 0);
    const auto start = Clock::now();
    voice.Speak(kSpeakNothing, std::nullopt, 10000);
    EXPECT_LT(Clock::now() - start, 5s) << "the reading ends instead of hanging";
    EXPECT_FALSE(voice.Speak(kSpeakText, std::string("没有服务器。"))) << "no server: Speak fails";

    ASSERT_EQ(std::system((script + " start " + dir).c_str()), 0);
    EXPECT_TRUE(voice.Speak(kSpeakText, std::string("又有了。"), 10000));
    voice.Destroy();
    std::system((script + " stop " + dir).c_str());
}

} // namespace
