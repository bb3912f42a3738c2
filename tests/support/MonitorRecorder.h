#pragma once
// Records the private sound server's null sink through its monitor, so tests measure sound and
// silence instead of assuming them. Levels are kept per 10 ms block, with the time each block
// arrived.

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace lusheng::test {

using Clock = std::chrono::steady_clock;

class MonitorRecorder {
  public:
    MonitorRecorder(); // starts recording at once; throws when the server cannot be reached
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    struct Block {
        Clock::time_point time;
        double rms;
    };

    // Waits until a block louder than the threshold arrives after `since` (true), or `timeout`.
    bool waitForSound(Clock::time_point since, std::chrono::milliseconds timeout);
    // Waits until `quiet` of continuous silence after `since` has been recorded; returns the
    // time the silence began, or nullopt on timeout.
    std::optional<Clock::time_point> waitForSilence(Clock::time_point since,
                                                    std::chrono::milliseconds quiet,
                                                    std::chrono::milliseconds timeout);
    // First and last loud block times at or after `since`.
    std::optional<std::pair<Clock::time_point, Clock::time_point>>
    soundSpan(Clock::time_point since) const;
    std::vector<Block> blocks() const;

    static constexpr double kSoundThreshold = 300.0;

  private:
    void run();
    struct Stream;
    Stream* stream_ = nullptr;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Block> blocks_;
    std::thread thread_;
};

} // namespace lusheng::test
