#pragma once
// An output that keeps samples in memory and "plays" them only when told to: tests decide what
// has been heard, so queueing, pause, purge and event timing can be checked without a sound card.

#include "platform/speech/AudioOutput.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace lusheng::sp {

class MemoryAudioOutput final : public RefCounted<AudioOutput> {
  public:
    // `capacity`: how many unplayed samples it holds before write() blocks. With `autoPlay`, the
    // output plays as fast as samples arrive (unless paused), which suits tests of content.
    static ComPtr<MemoryAudioOutput> make(std::size_t capacity = 22050, bool autoPlay = false);

    WAVEFORMATEX waveFormat() const override;
    HRESULT ready() override;
    HRESULT prepare() override;
    HRESULT write(const std::int16_t* samples, std::size_t count,
                  const Cancellation& cancel) override;
    HRESULT drain(const Cancellation& cancel) override;
    void pause() override;
    void resume() override;
    void discard() override;

    // For tests, any thread: play up to `count` buffered samples (all with SIZE_MAX), unless
    // paused.
    std::size_t play(std::size_t count = SIZE_MAX);
    std::vector<std::int16_t> playedSamples() const;
    std::size_t writtenCount() const;
    std::size_t bufferedCount() const;
    bool paused() const;
    // Makes ready() and write() fail, as a sound server that went away.
    void setAvailable(bool available);

  private:
    MemoryAudioOutput(std::size_t capacity, bool autoPlay)
        : capacity_(capacity), autoPlay_(autoPlay) {}
    std::size_t playLocked(std::size_t count);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t capacity_;
    bool autoPlay_;
    bool paused_ = false;
    bool available_ = true;
    std::size_t written_ = 0;
    std::vector<std::int16_t> buffered_;
    std::vector<std::int16_t> played_;
};

} // namespace lusheng::sp
