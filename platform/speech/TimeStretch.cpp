#include "platform/speech/TimeStretch.h"

#include "platform/speech/SynthesisEngine.h"

#include <sonic.h>

#include <algorithm>
#include <cmath>

namespace lusheng::sp {
namespace {
// espeak-ng goes no slower than this; above its normal maximum it speeds up by itself.
constexpr int kEngineSlowestWordsPerMinute = 80;
} // namespace

RatePlan planRate(int rate) {
    const double factor = std::pow(3.0, std::clamp(rate, -10, 10) / 10.0);
    const double wpm = kNormalWordsPerMinute * factor;
    RatePlan plan;
    if (wpm >= kEngineSlowestWordsPerMinute) {
        plan.wordsPerMinute = static_cast<int>(std::lround(wpm));
    } else {
        plan.wordsPerMinute = kEngineSlowestWordsPerMinute;
        plan.stretch = static_cast<float>(wpm / kEngineSlowestWordsPerMinute);
    }
    return plan;
}

std::vector<std::int16_t> stretchSpeech(const std::vector<std::int16_t>& samples, float speed,
                                        int sampleRate) {
    if (std::abs(speed - 1.0F) < 1e-4F || samples.empty()) {
        return samples;
    }
    sonicStream stream = sonicCreateStream(sampleRate, 1);
    if (stream == nullptr) {
        return samples;
    }
    sonicSetSpeed(stream, speed);
    std::vector<std::int16_t> out;
    out.reserve(static_cast<std::size_t>(static_cast<float>(samples.size()) / speed) + 1024);
    const auto feed = [&] {
        std::int16_t buffer[4096];
        int got = 0;
        while ((got = sonicReadShortFromStream(stream, buffer, 4096)) > 0) {
            out.insert(out.end(), buffer, buffer + got);
        }
    };
    constexpr std::size_t kChunk = 8192;
    for (std::size_t i = 0; i < samples.size(); i += kChunk) {
        const auto n = static_cast<int>(std::min(kChunk, samples.size() - i));
        // sonic takes non-const pointers but does not write through them.
        sonicWriteShortToStream(stream, const_cast<short*>(samples.data() + i), n);
        feed();
    }
    sonicFlushStream(stream);
    feed();
    sonicDestroyStream(stream);
    return out;
}

} // namespace lusheng::sp
