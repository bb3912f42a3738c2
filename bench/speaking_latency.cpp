// Speaking latency and memory, measured on the private sound server against the espeak-ng
// command line in the same run. Needs PULSE_SERVER pointing at a server with the null sink
// "lusheng_test_sink" (tools/run-bench.sh starts one).
//
//   speaking_latency            latency table (first sound for 1 KB and 2.5 MB, stop to silence)
//   speaking_latency --memory N peak resident memory while speaking an N-byte text for 3 s

#include "speech/ETextToSpeech.h"

#include "tests/support/MonitorRecorder.h"
#include "tests/support/VoiceFixture.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

using namespace lusheng;
using namespace std::chrono_literals;
using test::Clock;

namespace {

constexpr const char* kVoice = "sit/cmn-Latn-pinyin";

std::string chineseText(std::size_t bytes) {
    const std::string sentence = "春天来了，花都开了，小鸟在树上唱歌。我们一起去公园散步吧。";
    std::string text;
    text.reserve(bytes + sentence.size());
    while (text.size() < bytes) {
        text += sentence;
    }
    return text;
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from `start` to the first loud block on the sink, or -1.
double firstSoundAfter(test::MonitorRecorder& recorder, Clock::time_point start) {
    recorder.waitForSound(start, 10s);
    for (const auto& b : recorder.blocks()) {
        if (b.time >= start && b.rms > test::MonitorRecorder::kSoundThreshold) {
            return ms(b.time - start);
        }
    }
    return -1;
}

// The reference: the espeak-ng command line reading the same file with the same voice.
pid_t spawnEspeak(const std::string& file) {
    const char* argv[] = {"espeak-ng", "-v", kVoice, "-f", file.c_str(), nullptr};
    pid_t pid = 0;
    return posix_spawnp(&pid, "espeak-ng", nullptr, nullptr, const_cast<char**>(argv), environ) == 0
               ? pid
               : -1;
}

// Time from the call to the first sound on the sink.
double oursToFirstSound(ETextToSpeech& voice, test::MonitorRecorder& recorder,
                        const std::string& text) {
    voice.Stop();
    std::this_thread::sleep_for(400ms);
    const auto start = Clock::now();
    voice.Speak(kSpeakText, text);
    const double first = firstSoundAfter(recorder, start);
    voice.Stop();
    return first;
}

double espeakToFirstSound(test::MonitorRecorder& recorder, const std::string& file) {
    std::this_thread::sleep_for(400ms);
    const auto start = Clock::now();
    const pid_t pid = spawnEspeak(file);
    if (pid < 0) {
        return -1;
    }
    const double first = firstSoundAfter(recorder, start);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return first;
}

double stopToSilence(ETextToSpeech& voice, test::MonitorRecorder& recorder,
                     const std::string& text) {
    const auto begin = Clock::now();
    voice.Speak(kSpeakText, text);
    recorder.waitForSound(begin, 10s);
    std::this_thread::sleep_for(500ms);
    const auto stop = Clock::now();
    voice.Stop();
    const auto silent = recorder.waitForSilence(stop, 300ms, 5s);
    return silent ? ms(*silent - stop) : -1;
}

double espeakKillToSilence(test::MonitorRecorder& recorder, const std::string& file) {
    const auto begin = Clock::now();
    const pid_t pid = spawnEspeak(file);
    if (pid < 0) {
        return -1;
    }
    recorder.waitForSound(begin, 10s);
    std::this_thread::sleep_for(500ms);
    const auto stop = Clock::now();
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    const auto silent = recorder.waitForSilence(stop, 300ms, 5s);
    return silent ? ms(*silent - stop) : -1;
}

int memoryMode(std::size_t bytes) {
    ETextToSpeech voice;
    voice.Create();
    voice.Speak(kSpeakText, chineseText(bytes));
    std::this_thread::sleep_for(3s);
    voice.Stop();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%zu %ld\n", bytes, usage.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    test::VoiceDirectory voices({{.file = "1", .description = "中文", .engineVoice = kVoice}});
    test::useOnlyVoiceDirectories({voices.path()});
    if (argc == 3 && std::strcmp(argv[1], "--memory") == 0) {
        return memoryMode(std::stoul(argv[2]));
    }
    test::MonitorRecorder recorder;
    ETextToSpeech voice;
    voice.Create();
    const std::string small = chineseText(1000);
    const std::string large = chineseText(2'500'000);
    const std::string smallFile = (voices.path() / "small.txt").string();
    const std::string largeFile = (voices.path() / "large.txt").string();
    std::ofstream(smallFile) << small;
    std::ofstream(largeFile) << large;

    constexpr int kRuns = 5;
    std::vector<double> ours1k, ours2m, ref1k, ref2m, stopOurs, stopRef;
    for (int i = 0; i < kRuns; ++i) {
        ours1k.push_back(oursToFirstSound(voice, recorder, small));
        ours2m.push_back(oursToFirstSound(voice, recorder, large));
        ref1k.push_back(espeakToFirstSound(recorder, smallFile));
        ref2m.push_back(espeakToFirstSound(recorder, largeFile));
        stopOurs.push_back(stopToSilence(voice, recorder, small));
        stopRef.push_back(espeakKillToSilence(recorder, smallFile));
    }
    std::printf("median of %d runs, milliseconds          ours   espeak-ng CLI   ratio\n", kRuns);
    std::printf("Speak to first sound, 1 KB text       %7.1f   %7.1f       %5.2f\n", median(ours1k),
                median(ref1k), median(ours1k) / median(ref1k));
    std::printf("Speak to first sound, 2.5 MB text     %7.1f   %7.1f       %5.2f\n", median(ours2m),
                median(ref2m), median(ours2m) / median(ref2m));
    std::printf("Stop to silence (CLI: killed)         %7.1f   %7.1f       %5.2f\n",
                median(stopOurs), median(stopRef), median(stopOurs) / median(stopRef));
    voice.Destroy();
    return 0;
}
