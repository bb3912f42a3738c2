#pragma once
// The sound server output (PulseAudio's client library; PipeWire serves it too).
//
// All PulseAudio calls hold the threaded main loop's lock. The connection is made on first use
// and made again after the server went away; a voice keeps one playback stream across texts.

#include "platform/speech/AudioOutput.h"

#include <memory>

namespace lusheng::sp {

class PulseAudioOutput final : public RefCounted<AudioOutput> {
  public:
    // Fails only when the client library cannot start its main loop.
    static HRESULT make(PulseAudioOutput** output);
    ~PulseAudioOutput() override;

    WAVEFORMATEX waveFormat() const override;
    HRESULT ready() override;
    HRESULT prepare() override;
    HRESULT write(const std::int16_t* samples, std::size_t count,
                  const Cancellation& cancel) override;
    HRESULT drain(const Cancellation& cancel) override;
    void pause() override;
    void resume() override;
    void discard() override;

    struct Connection;

  private:
    PulseAudioOutput();
    std::unique_ptr<Connection> connection_;
};

} // namespace lusheng::sp
