#include "tests/support/MonitorRecorder.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace lusheng::test {

struct MonitorRecorder::Stream {
    pa_simple* simple = nullptr;
};

namespace {
constexpr std::uint32_t kRate = 22050;
constexpr std::size_t kBlockSamples = kRate / 100;
} // namespace

MonitorRecorder::MonitorRecorder() : stream_(new Stream) {
    const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
    const auto blockBytes = static_cast<std::uint32_t>(kBlockSamples * 2);
    const pa_buffer_attr attr{static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1),
                              static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1),
                              blockBytes};
    int error = 0;
    stream_->simple =
        pa_simple_new(nullptr, "lusheng-tests", PA_STREAM_RECORD, "lusheng_test_sink.monitor",
                      "monitor", &spec, nullptr, &attr, &error);
    if (stream_->simple == nullptr) {
        delete stream_;
        throw std::runtime_error(std::string("cannot record the test sink: ") + pa_strerror(error));
    }
    thread_ = std::thread([this] { run(); });
}

MonitorRecorder::~MonitorRecorder() {
    stop_ = true;
    thread_.join();
    pa_simple_free(stream_->simple);
    delete stream_;
}

void MonitorRecorder::run() {
    std::vector<std::int16_t> block(kBlockSamples);
    while (!stop_) {
        int error = 0;
        if (pa_simple_read(stream_->simple, block.data(), block.size() * 2, &error) < 0) {
            break;
        }
        double sum = 0;
        for (const auto s : block) {
            sum += static_cast<double>(s) * s;
        }
        std::lock_guard lock(mutex_);
        blocks_.push_back({Clock::now(), std::sqrt(sum / static_cast<double>(block.size()))});
    }
}

std::vector<MonitorRecorder::Block> MonitorRecorder::blocks() const {
    std::lock_guard lock(mutex_);
    return blocks_;
}

bool MonitorRecorder::waitForSound(Clock::time_point since, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        {
            std::lock_guard lock(mutex_);
            for (auto it = blocks_.rbegin(); it != blocks_.rend() && it->time >= since; ++it) {
                if (it->rms > kSoundThreshold) {
                    return true;
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::optional<Clock::time_point>
MonitorRecorder::waitForSilence(Clock::time_point since, std::chrono::milliseconds quiet,
                                std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        {
            std::lock_guard lock(mutex_);
            std::optional<Clock::time_point> silentFrom;
            for (const auto& b : blocks_) {
                if (b.time < since) {
                    continue;
                }
                if (b.rms > kSoundThreshold) {
                    silentFrom.reset();
                } else if (!silentFrom) {
                    silentFrom = b.time;
                }
            }
            if (silentFrom && !blocks_.empty() && blocks_.back().time - *silentFrom >= quiet) {
                return silentFrom;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

std::optional<std::pair<Clock::time_point, Clock::time_point>>
MonitorRecorder::soundSpan(Clock::time_point since) const {
    std::lock_guard lock(mutex_);
    std::optional<std::pair<Clock::time_point, Clock::time_point>> span;
    for (const auto& b : blocks_) {
        if (b.time >= since && b.rms > kSoundThreshold) {
            if (!span) {
                span.emplace(b.time, b.time);
            }
            span->second = b.time;
        }
    }
    return span;
}

} // namespace lusheng::test
