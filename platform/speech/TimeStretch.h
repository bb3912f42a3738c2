#pragma once
// Changes the speed of speech without changing its pitch (libsonic), for rates slower than the
// engine's own lowest rate.

#include <cstdint>
#include <vector>

namespace lusheng::sp {

// `speed` below 1 makes the speech last longer (0.5: twice as long). Speed 1 returns the input.
std::vector<std::int16_t> stretchSpeech(const std::vector<std::int16_t>& samples, float speed,
                                        int sampleRate);

// How a voice rate of -10..10 is made: the engine's words per minute, then what is left for
// time-stretching. Rate r plays at 3^(r/10) times the normal speed.
struct RatePlan {
    int wordsPerMinute = 175;
    float stretch = 1.0F;
};
RatePlan planRate(int rate);

} // namespace lusheng::sp
