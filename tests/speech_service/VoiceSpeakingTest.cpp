// The voice's queue, events, pause, purge and rate, against an in-memory output whose "played"
// position the test controls.

#include "platform/speech/ISpObjectTokenCategory.h"
#include "platform/speech/ISpVoice.h"
#include "platform/speech/MemoryAudioOutput.h"
#include "platform/speech/SpeechService.h"
#include "tests/support/VoiceFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <future>
#include <thread>

using namespace lusheng;
using namespace lusheng::sp;
using namespace std::chrono_literals;

namespace {

constexpr ULONGLONG kStartAndEnd =
    SPFEI(SPEI_START_INPUT_STREAM) | SPFEI(SPEI_END_INPUT_STREAM) | SPFEI_FLAGCHECK;

struct Heard {
    SPEVENTENUM id;
    ULONG stream;
    std::size_t unplayedAtEvent;
};

class VoiceSpeaking : public ::testing::Test {
  protected:
    void SetUp() override {
        test::useOnlyVoiceDirectories({voices_.path()});
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_EQ(
            CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, voice_.ReleaseAndGetAddressOf()),
            S_OK);
        ASSERT_EQ(voice_->SetInterest(kStartAndEnd, kStartAndEnd), S_OK);
        ASSERT_EQ(voice_->SetNotifyCallbackFunction(&VoiceSpeaking::onEvents,
                                                    reinterpret_cast<WPARAM>(this), 0),
                  S_OK);
    }
    void TearDown() override {
        voice_.Reset();
        CoUninitialize();
    }

    void useOutput(ComPtr<MemoryAudioOutput> output) {
        output_ = std::move(output);
        ASSERT_EQ(voice_->SetOutput(output_.Get(), TRUE), S_OK);
    }

    void useMandarin() {
        ComPtr<ISpObjectTokenCategory> category;
        ASSERT_EQ(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                   category.ReleaseAndGetAddressOf()),
                  S_OK);
        ASSERT_EQ(category->SetId(SPCAT_VOICES, FALSE), S_OK);
        ComPtr<IEnumSpObjectTokens> tokens;
        ASSERT_EQ(category->EnumTokens(u"Language=804", nullptr, tokens.ReleaseAndGetAddressOf()),
                  S_OK);
        ComPtr<ISpObjectToken> mandarin;
        ASSERT_EQ(tokens->Next(1, mandarin.ReleaseAndGetAddressOf(), nullptr), S_OK);
        ASSERT_EQ(voice_->SetVoice(mandarin.Get()), S_OK);
    }

    // Speaks synchronously into a fresh auto-playing output; the samples it made.
    std::vector<std::int16_t> render(const std::u16string& text, DWORD flags = SPF_DEFAULT) {
        useOutput(MemoryAudioOutput::make(22050, true));
        EXPECT_EQ(voice_->Speak(text.c_str(), flags, nullptr), S_OK);
        return output_->playedSamples();
    }

    static void onEvents(WPARAM self, LPARAM) {
        auto* test = reinterpret_cast<VoiceSpeaking*>(self);
        SPEVENT event;
        while (test->voice_->GetEvents(1, &event, nullptr) == S_OK) {
            std::lock_guard lock(test->mutex_);
            test->heard_.push_back({static_cast<SPEVENTENUM>(event.eEventId), event.ulStreamNum,
                                    test->output_ ? test->output_->bufferedCount() : 0});
        }
    }

    std::vector<Heard> heard() {
        std::lock_guard lock(mutex_);
        return heard_;
    }

    template <class Predicate>
    static bool eventually(Predicate done, std::chrono::milliseconds timeout = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(2ms);
        }
        return true;
    }

    test::VoiceDirectory voices_{{
        {.file = "1", .description = "English", .engineVoice = "en", .attributes = "Language=409"},
        {.file = "2",
         .description = "Mandarin",
         .engineVoice = "sit/cmn-Latn-pinyin",
         .attributes = "Language=804"},
    }};
    ComPtr<ISpVoice> voice_;
    ComPtr<MemoryAudioOutput> output_;
    std::mutex mutex_;
    std::vector<Heard> heard_;
};

TEST_F(VoiceSpeaking, TwoTextsGiveStartEndStartEndAndEachEndComesOncePlayed) {
    useOutput(MemoryAudioOutput::make(2205));
    ULONG first = 0;
    ULONG second = 0;
    ASSERT_EQ(voice_->Speak(u"One.", SPF_ASYNC, &first), S_OK);
    ASSERT_EQ(voice_->Speak(u"Two.", SPF_ASYNC, &second), S_OK);
    EXPECT_NE(first, second);
    ASSERT_TRUE(eventually([&] { return output_->bufferedCount() > 0; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(heard().size(), 1U) << "nothing played yet, so no end";
    EXPECT_EQ(voice_->WaitUntilDone(0), S_FALSE);

    ASSERT_TRUE(eventually([&] {
        output_->play(441);
        return heard().size() == 4;
    }));
    const auto events = heard();
    EXPECT_EQ(events[0].id, SPEI_START_INPUT_STREAM);
    EXPECT_EQ(events[1].id, SPEI_END_INPUT_STREAM);
    EXPECT_EQ(events[2].id, SPEI_START_INPUT_STREAM);
    EXPECT_EQ(events[3].id, SPEI_END_INPUT_STREAM);
    EXPECT_EQ(events[0].stream, first);
    EXPECT_EQ(events[1].stream, first);
    EXPECT_EQ(events[3].stream, second);
    EXPECT_EQ(events[1].unplayedAtEvent, 0U);
    EXPECT_EQ(events[3].unplayedAtEvent, 0U);
    EXPECT_EQ(voice_->WaitUntilDone(5000), S_OK);
}

TEST_F(VoiceSpeaking, SynchronousSpeakReturnsWhenHeardAndPurgeReleasesIt) {
    useOutput(MemoryAudioOutput::make(2205));
    auto spoken = std::async(std::launch::async,
                             [&] { return voice_->Speak(u"Hello there.", SPF_DEFAULT, nullptr); });
    EXPECT_EQ(spoken.wait_for(200ms), std::future_status::timeout);
    output_->play();
    ASSERT_TRUE(eventually([&] {
        output_->play();
        return spoken.wait_for(0ms) == std::future_status::ready;
    }));
    EXPECT_EQ(spoken.get(), S_OK);

    auto waiting = std::async(std::launch::async, [&] {
        return voice_->Speak(u"A long text that will not be played.", SPF_DEFAULT, nullptr);
    });
    ASSERT_TRUE(eventually([&] { return output_->bufferedCount() > 0; }));
    EXPECT_EQ(voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr), S_OK);
    ASSERT_EQ(waiting.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(voice_->WaitUntilDone(5000), S_OK);
    EXPECT_EQ(output_->bufferedCount(), 0U);
}

TEST_F(VoiceSpeaking, PurgeDiscardsQueueAndPlayingTextThenSpeaksAgain) {
    useOutput(MemoryAudioOutput::make(2205));
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(
            voice_->Speak(u"This sentence is queued and then thrown away.", SPF_ASYNC, nullptr),
            S_OK);
    }
    ASSERT_TRUE(eventually([&] { return output_->bufferedCount() > 0; }));
    ASSERT_EQ(voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr), S_OK);
    EXPECT_EQ(voice_->WaitUntilDone(5000), S_OK);
    EXPECT_EQ(output_->bufferedCount(), 0U);
    const std::size_t written = output_->writtenCount();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(output_->writtenCount(), written) << "nothing of the purged texts is written later";
    const auto afterPurge = heard();
    ASSERT_EQ(afterPurge.size(), 2U) << "the text being spoken still ends; queued ones never start";

    output_ = MemoryAudioOutput::make(22050, true);
    ASSERT_EQ(voice_->SetOutput(output_.Get(), TRUE), S_OK);
    ASSERT_EQ(voice_->Speak(u"Again.", SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr), S_OK);
    EXPECT_EQ(voice_->WaitUntilDone(10000), S_OK);
    EXPECT_GT(output_->playedSamples().size(), 1000U);
}

TEST_F(VoiceSpeaking, PausedVoiceQueuesAndPurgeKeepsThePause) {
    useOutput(MemoryAudioOutput::make(2205, true));
    EXPECT_EQ(voice_->Resume(), S_OK) << "resume without pause does nothing";
    ASSERT_EQ(voice_->Pause(), S_OK);
    ASSERT_EQ(voice_->Speak(u"Paused text.", SPF_ASYNC, nullptr), S_OK);
    EXPECT_EQ(voice_->WaitUntilDone(200), S_FALSE);
    EXPECT_TRUE(output_->playedSamples().empty());
    ASSERT_EQ(voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr), S_OK);
    EXPECT_TRUE(output_->paused());
    ASSERT_EQ(voice_->Speak(u"After the purge.", SPF_ASYNC, nullptr), S_OK);
    EXPECT_EQ(voice_->WaitUntilDone(200), S_FALSE);
    ASSERT_EQ(voice_->Resume(), S_OK);
    EXPECT_EQ(voice_->WaitUntilDone(10000), S_OK);
    EXPECT_GT(output_->playedSamples().size(), 1000U);
}

TEST_F(VoiceSpeaking, RateScalesDurationThreefoldEachWay) {
    useMandarin();
    const std::u16string text = u"今天天气很好，我们一起去公园散步吧。";
    std::map<long, double> seconds;
    for (long rate : {-10L, 0L, 10L}) {
        ASSERT_EQ(voice_->SetRate(rate), S_OK);
        seconds[rate] = static_cast<double>(render(text).size()) / 22050.0;
    }
    EXPECT_NEAR(seconds[-10] / seconds[0], 3.0, 0.3);
    EXPECT_NEAR(seconds[10] / seconds[0], 1.0 / 3.0, 1.0 / 30.0);

    long rate = 0;
    EXPECT_EQ(voice_->SetRate(11), E_INVALIDARG);
    EXPECT_EQ(voice_->SetRate(-11), E_INVALIDARG);
    ASSERT_EQ(voice_->GetRate(&rate), S_OK);
    EXPECT_EQ(rate, 10);
}

TEST_F(VoiceSpeaking, MarkupSilenceVolumeAndMalformedMarkup) {
    EXPECT_EQ(render(u"<silence msec=\"1000\"/>", SPF_IS_XML).size(), 22050U);
    const auto quiet = render(u"<volume level=\"0\">Nothing to hear</volume>", SPF_IS_XML);
    ASSERT_FALSE(quiet.empty());
    EXPECT_TRUE(std::all_of(quiet.begin(), quiet.end(), [](std::int16_t s) { return s == 0; }));
    EXPECT_GT(render(u"<unknown>still spoken</unknown>", SPF_IS_XML).size(), 5000U);

    useOutput(MemoryAudioOutput::make(22050, true));
    const std::size_t eventsBefore = heard().size();
    EXPECT_TRUE(
        FAILED(voice_->Speak(u"<rate speed=\"2\">unclosed", SPF_ASYNC | SPF_IS_XML, nullptr)));
    EXPECT_EQ(voice_->WaitUntilDone(1000), S_OK);
    EXPECT_EQ(output_->writtenCount(), 0U);
    EXPECT_EQ(heard().size(), eventsBefore) << "nothing was spoken, so nothing started";
}

TEST_F(VoiceSpeaking, FileContentsAreSpokenWhateverTheirEncoding) {
    useMandarin();
    const auto direct = render(u"你好，世界。");
    const std::string gbk = (voices_.path() / "gbk.txt").string();
    voices_.write("gbk.txt", "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\xA1\xA3");
    const std::u16string path(gbk.begin(), gbk.end());
    // The engine's output varies by a few samples from one utterance to the next.
    EXPECT_NEAR(static_cast<double>(render(path, SPF_IS_FILENAME).size()),
                static_cast<double>(direct.size()), static_cast<double>(direct.size()) * 0.01);
    voices_.write("marked.txt", "<silence msec=\"500\"/>");
    const std::string marked = (voices_.path() / "marked.txt").string();
    EXPECT_EQ(render(std::u16string(marked.begin(), marked.end()), SPF_IS_FILENAME).size(), 11025U);
    EXPECT_EQ(voice_->Speak(u"/nonexistent/book.txt", SPF_ASYNC | SPF_IS_FILENAME, nullptr),
              STG_E_FILENOTFOUND);
}

TEST_F(VoiceSpeaking, UnavailableOutputFailsSpeakUntilItIsBack) {
    useOutput(MemoryAudioOutput::make(22050, true));
    output_->setAvailable(false);
    EXPECT_TRUE(FAILED(voice_->Speak(u"Nobody hears this.", SPF_ASYNC, nullptr)));
    EXPECT_EQ(voice_->WaitUntilDone(1000), S_OK);
    output_->setAvailable(true);
    EXPECT_EQ(voice_->Speak(u"Heard again.", SPF_DEFAULT, nullptr), S_OK);
    EXPECT_GT(output_->playedSamples().size(), 1000U);
}

// A 2.5 MB text starts to sound after its first piece is synthesised, not after all of it
// (which would take minutes), and stops at once.
TEST_F(VoiceSpeaking, LongTextIsStreamedPieceByPiece) {
    useMandarin();
    useOutput(MemoryAudioOutput::make(22050));
    std::u16string book;
    while (book.size() * 3 < 2'500'000) {
        book += u"春天来了，花都开了，小鸟在树上唱歌。";
    }
    ASSERT_EQ(voice_->Speak(book.c_str(), SPF_ASYNC, nullptr), S_OK);
    EXPECT_TRUE(eventually([&] { return output_->writtenCount() > 0; }, 5s));
    ASSERT_EQ(voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr), S_OK);
    EXPECT_EQ(voice_->WaitUntilDone(5000), S_OK);
}

} // namespace
