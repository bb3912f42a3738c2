// Speaking into audio files with the real voices: formats, durations, replacing, the modes,
// bad paths, notifications, progress and cancelling, and the RF64 container.

#include "speech/ETextToSpeech.h"

#include "platform/speech/FileStream.h"
#include "platform/system/WindowMessages.h"
#include "tests/support/VoiceFixture.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>

using namespace lusheng;
namespace fs = std::filesystem;

namespace {

const std::string kSentence = "今天天气很好，我们一起去公园散步吧。春天来了，花都开了。";

struct AudioInfo {
    int format = 0; // SF_FORMAT_* container | encoding
    int sampleRate = 0;
    int channels = 0;
    sf_count_t frames = 0;
    double seconds() const { return sampleRate > 0 ? static_cast<double>(frames) / sampleRate : 0; }
};

std::optional<AudioInfo> readBack(const fs::path& file) {
    SF_INFO info{};
    SNDFILE* sound = sf_open(file.c_str(), SFM_READ, &info);
    if (sound == nullptr) {
        return std::nullopt;
    }
    // Count the frames by reading them: compressed files only know their length once decoded.
    std::vector<short> buffer(4096 * static_cast<std::size_t>(std::max(1, info.channels)));
    sf_count_t frames = 0;
    for (sf_count_t got; (got = sf_readf_short(sound, buffer.data(), 4096)) > 0;) {
        frames += got;
    }
    sf_close(sound);
    return AudioInfo{info.format, info.samplerate, info.channels, frames};
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// What soxi, a separate reader, makes of the file.
std::string soxi(const char* option, const fs::path& file) {
    const std::string command = std::string("soxi ") + option + " '" + file.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    char line[256] = {};
    std::string out = std::fgets(line, sizeof line, pipe) != nullptr ? line : "";
    pclose(pipe);
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) {
        out.pop_back();
    }
    return out;
}

class SpeakToFile : public ::testing::Test {
  protected:
    void SetUp() override {
        test::pinDisplayLocale("zh_CN.UTF-8");
        test::useOnlyVoiceDirectories({voices_.path()});
        folder_ = fs::temp_directory_path() /
                  ("lusheng-files-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
        fs::create_directories(folder_);
        voice_.Create();
        ASSERT_TRUE(voice_.IsCreated());
    }
    void TearDown() override {
        voice_.Destroy();
        sp::FileStream::keepRf64ForTesting(false);
        std::error_code ignored;
        fs::permissions(folder_, fs::perms::owner_all, ignored);
        fs::remove_all(folder_, ignored);
    }

    // The same text spoken by the espeak-ng command line with the same voice, in seconds.
    double referenceSeconds(const std::string& text) {
        const fs::path out = folder_ / "reference.wav";
        const std::string command =
            "espeak-ng -v sit/cmn-Latn-pinyin -w '" + out.string() + "' '" + text + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return readBack(out).value_or(AudioInfo{}).seconds();
    }

    test::VoiceDirectory voices_{{
        {.file = "1", .description = "中文普通话", .engineVoice = "sit/cmn-Latn-pinyin"},
    }};
    fs::path folder_;
    ETextToSpeech voice_;
    static inline int counter_ = 0;
};

TEST_F(SpeakToFile, WaveFileHasTheVoicesFormatAndTheTextsLength) {
    const fs::path file = folder_ / "说话.wav";
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, kSentence, file.string()));
    const auto info = readBack(file);
    ASSERT_TRUE(info.has_value());
    // A small file stays RIFF WAVE (with the extensible header libsndfile's RF64 writer uses).
    EXPECT_EQ(info->format, SF_FORMAT_WAVEX | SF_FORMAT_PCM_16);
    EXPECT_EQ(info->sampleRate, 22050);
    EXPECT_EQ(info->channels, 1);
    const std::string bytes = bytesOf(file);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 4), "WAVE");
    // Within a tenth of what espeak-ng itself makes of the text at the same rate.
    const double reference = referenceSeconds(kSentence);
    ASSERT_GT(reference, 2.0);
    EXPECT_NEAR(info->seconds(), reference, reference * 0.1);
    EXPECT_EQ(soxi("-r", file), "22050");
    EXPECT_EQ(soxi("-c", file), "1");
    EXPECT_EQ(soxi("-b", file), "16");
    EXPECT_NEAR(std::stod(soxi("-D", file)), info->seconds(), 0.01);
}

TEST_F(SpeakToFile, CompressedFormatsHoldTheSameSpeech) {
    const fs::path wave = folder_ / "speech.wav";
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, kSentence, wave.string()));
    const double seconds = readBack(wave)->seconds();

    struct Row {
        const char* name;
        int container;
        int rate;
        double largestShareOfWave; // of the WAVE file's size
    };
    for (const Row& row : {Row{"speech.flac", SF_FORMAT_FLAC, 22050, 0.9},
                           Row{"speech.FLAC", SF_FORMAT_FLAC, 22050, 0.9},
                           Row{"speech.ogg", SF_FORMAT_OGG, 48000, 0.3},
                           Row{"speech.opus", SF_FORMAT_OGG, 48000, 0.3},
                           Row{"speech.mp3", SF_FORMAT_MPEG, 22050, 0.3},
                           Row{"speech.unknown", SF_FORMAT_WAVEX, 22050, 1.01},
                           Row{"no-extension", SF_FORMAT_WAVEX, 22050, 1.01}}) {
        SCOPED_TRACE(row.name);
        const fs::path file = folder_ / row.name;
        ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, kSentence, file.string()));
        const auto info = readBack(file);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->format & SF_FORMAT_TYPEMASK, row.container);
        EXPECT_EQ(info->sampleRate, row.rate);
        EXPECT_EQ(info->channels, 1);
        // Encoders pad a little at the ends; the speech itself is the same length.
        EXPECT_NEAR(info->seconds(), seconds, 0.1);
        EXPECT_LT(static_cast<double>(fs::file_size(file)),
                  static_cast<double>(fs::file_size(wave)) * row.largestShareOfWave);
    }
}

TEST_F(SpeakToFile, ReplacesALongerFile) {
    const fs::path empty = folder_ / "empty.wav";
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakNothing, std::nullopt, empty.string()));
    const auto header = fs::file_size(empty);
    const fs::path file = folder_ / "old.wav";
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, kSentence + kSentence + kSentence, file.string()));
    const auto before = fs::file_size(file);
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, std::string("你好。"), file.string()));
    const auto after = fs::file_size(file);
    EXPECT_LT(after, before / 3);
    const auto info = readBack(file);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(header + static_cast<std::uintmax_t>(info->frames) * 2, after)
        << "header and samples, nothing of the old file after them";
}

TEST_F(SpeakToFile, ModesThreeAndFour) {
    const fs::path file = folder_ / "modes.wav";
    std::ofstream(file) << "an existing file";
    EXPECT_FALSE(voice_.SpeakToFile(4, kSentence, file.string()));
    EXPECT_FALSE(voice_.SpeakToFile(-1, kSentence, file.string()));
    EXPECT_EQ(bytesOf(file), "an existing file") << "left byte for byte as it was";

    EXPECT_TRUE(voice_.SpeakToFile(kSpeakNothing, kSentence, file.string()));
    const auto info = readBack(file);
    ASSERT_TRUE(info.has_value()) << "a valid, empty sound file";
    EXPECT_EQ(info->frames, 0);

    // Markup and a file of text are spoken too; a file that cannot be read still gives a file.
    EXPECT_TRUE(voice_.SpeakToFile(kSpeakMarkup,
                                   std::string("<speak>你好<silence msec=\"500\"/>再见</speak>"),
                                   file.string()));
    EXPECT_GT(readBack(file)->seconds(), 1.0);
    const fs::path text = folder_ / "text.txt";
    std::ofstream(text) << kSentence;
    EXPECT_TRUE(voice_.SpeakToFile(kSpeakFile, text.string(), file.string()));
    EXPECT_GT(readBack(file)->seconds(), 2.0);
    EXPECT_TRUE(voice_.SpeakToFile(kSpeakFile, (folder_ / "missing.txt").string(), file.string()));
    EXPECT_EQ(readBack(file)->frames, 0);
}

TEST_F(SpeakToFile, FilesThatCannotBeMade) {
    EXPECT_FALSE(voice_.SpeakToFile(kSpeakText, kSentence, (folder_ / "no" / "such.wav").string()));
    EXPECT_FALSE(voice_.SpeakToFile(kSpeakText, kSentence, std::nullopt));
    EXPECT_FALSE(voice_.SpeakToFile(kSpeakText, kSentence, std::string()));
    if (geteuid() != 0) {
        const fs::path locked = folder_ / "locked";
        fs::create_directory(locked);
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(voice_.SpeakToFile(kSpeakText, kSentence, (locked / "x.wav").string()));
        EXPECT_FALSE(fs::exists(locked / "x.wav"));
    }
    // A directory in the file's place.
    EXPECT_FALSE(voice_.SpeakToFile(kSpeakText, kSentence, folder_.string()));
    // The voice speaks on as before: a later file works.
    EXPECT_TRUE(voice_.SpeakToFile(kSpeakText, std::string("好。"), (folder_ / "ok.wav").string()));
    EXPECT_GT(readBack(folder_ / "ok.wav")->frames, 0);

    ETextToSpeech none;
    EXPECT_FALSE(none.SpeakToFile(kSpeakText, kSentence, (folder_ / "none.wav").string()));
    EXPECT_FALSE(fs::exists(folder_ / "none.wav"));
}

TEST_F(SpeakToFile, LongPathsAreNotCut) {
    // Nested folders give a path far beyond 260 characters, each part within the file
    // system's limit.
    fs::path deep = folder_;
    for (int i = 0; i < 6; ++i) {
        deep /= std::string(60, static_cast<char>('a' + i));
    }
    fs::create_directories(deep);
    const fs::path file = deep / "很长的路径.wav";
    ASSERT_GT(file.string().size(), 400U);
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, std::string("你好。"), file.string()));
    EXPECT_GT(readBack(file)->frames, 0);
}

TEST_F(SpeakToFile, NotificationWindowGetsStartAndEnd) {
    std::vector<std::uintptr_t> messages;
    sys::MessageWindow window([&](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
        if (message == kSpeechNotifyMessage) {
            messages.push_back(wParam);
        }
        return std::intptr_t{0};
    });
    ASSERT_TRUE(voice_.Speak(kSpeakNothing, std::nullopt, std::nullopt, &window));
    ASSERT_TRUE(
        voice_.SpeakToFile(kSpeakText, std::string("你好。"), (folder_ / "messages.wav").string()));
    EXPECT_EQ(messages, (std::vector<std::uintptr_t>{1, 2}));
}

TEST_F(SpeakToFile, ProgressRisesToTheEnd) {
    std::vector<double> shares;
    std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> onOtherThread{true};
    FileRendering rendering;
    rendering.progress = [&](double share) {
        if (share < 1.0 && std::this_thread::get_id() == caller) {
            onOtherThread = false;
        }
        shares.push_back(share);
        return true;
    };
    std::string text;
    for (int i = 0; i < 8; ++i) {
        text += kSentence;
    }
    ASSERT_TRUE(
        voice_.SpeakToFile(kSpeakText, text, (folder_ / "progress.wav").string(), &rendering));
    EXPECT_FALSE(rendering.cancelled);
    EXPECT_TRUE(rendering.complete);
    ASSERT_GE(shares.size(), 4U);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_GT(shares.front(), 0.0);
    EXPECT_LT(shares.front(), 0.5);
    EXPECT_DOUBLE_EQ(shares.back(), 1.0);
    EXPECT_TRUE(onOtherThread);
}

TEST_F(SpeakToFile, CancelLeavesAValidShorterFile) {
    std::string text;
    for (int i = 0; i < 20; ++i) {
        text += kSentence;
    }
    const fs::path whole = folder_ / "whole.wav";
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, text, whole.string()));
    const double wholeSeconds = readBack(whole)->seconds();

    for (const char* name : {"cut.wav", "cut.flac", "cut.opus", "cut.mp3"}) {
        SCOPED_TRACE(name);
        FileRendering rendering;
        rendering.progress = [](double share) { return share < 0.3; };
        const fs::path file = folder_ / name;
        ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, text, file.string(), &rendering));
        EXPECT_TRUE(rendering.cancelled);
        EXPECT_TRUE(rendering.complete);
        // Complete when the call returns: it reads back now, and it is part of the text.
        const auto info = readBack(file);
        ASSERT_TRUE(info.has_value());
        EXPECT_GT(info->seconds(), wholeSeconds * 0.2);
        EXPECT_LT(info->seconds(), wholeSeconds * 0.6);
    }
    // And the voice is free again.
    EXPECT_TRUE(
        voice_.SpeakToFile(kSpeakText, std::string("好。"), (folder_ / "after.wav").string()));
    EXPECT_GT(readBack(folder_ / "after.wav")->frames, 0);
}

TEST_F(SpeakToFile, Rf64ContainerReadsBack) {
    // libsndfile leaves RF64 for plain RIFF only below the 4 GiB limit; kept in RF64, a small
    // file shows that the container the long books get is written correctly.
    sp::FileStream::keepRf64ForTesting(true);
    const fs::path file = folder_ / "book.wav";
    ASSERT_TRUE(voice_.SpeakToFile(kSpeakText, kSentence, file.string()));
    const std::string bytes = bytesOf(file);
    EXPECT_EQ(bytes.substr(0, 4), "RF64");
    const auto info = readBack(file);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->format & SF_FORMAT_TYPEMASK, SF_FORMAT_RF64);
    EXPECT_EQ(info->sampleRate, 22050);
    EXPECT_GT(info->seconds(), 2.0);
    EXPECT_NEAR(std::stod(soxi("-D", file)), info->seconds(), 0.01);
}

TEST_F(SpeakToFile, AFullDiskIsReported) {
    // A file size limit makes writes fail part way, as a full disk does. The signal it raises
    // is ignored so that the write itself reports the failure.
    const fs::path file = folder_ / "limited.wav";
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 20000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    FileRendering rendering;
    const bool made =
        voice_.SpeakToFile(kSpeakText, kSentence + kSentence, file.string(), &rendering);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(made) << "the file was made";
    EXPECT_FALSE(rendering.complete) << "but could not take all of the speech";
}

} // namespace
