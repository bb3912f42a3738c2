#pragma once
// Where a voice's samples go: the sound server, an audio file, or memory.
//
// Threading contract:
//  - prepare(), write() and drain() are called by the owning voice's worker thread only, one
//    call at a time. write() and drain() block: write() while the output is full or paused,
//    drain() until everything written has been played out.
//  - pause(), resume() and discard() may be called from any thread at any time and act at once.
//    discard() throws away everything not yet played and wakes a blocked write() or drain(),
//    which return SPERR_AUDIO_STOPPED once their Cancellation says so. discard() does not lift
//    a pause.
//  - write() and drain() test their Cancellation under the output's own lock, so a caller that
//    first requests cancellation and then calls discard() never has a stale sample played.
//  - ready() may be called from any thread; it may connect, and never blocks for long.

#include "platform/speech/ISpStreamFormat.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace lusheng::sp {

// Cancelled once the counter has moved on from the value seen when the work began.
struct Cancellation {
    const std::atomic<std::uint64_t>* counter = nullptr;
    std::uint64_t seen = 0;
    bool requested() const { return counter != nullptr && counter->load() != seen; }
};

class AudioOutput : public ISpStreamFormat {
  public:
    virtual WAVEFORMATEX waveFormat() const = 0;

    // Whether the output can take audio now (for the sound server: connected, or connecting
    // again after it went away). Failure reasons are status codes.
    virtual HRESULT ready() = 0;
    // Called before the first sample of each text.
    virtual HRESULT prepare() = 0;
    virtual HRESULT write(const std::int16_t* samples, std::size_t count,
                          const Cancellation& cancel) = 0;
    virtual HRESULT drain(const Cancellation& cancel) = 0;

    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void discard() = 0;

    HRESULT GetFormat(GUID* formatId, WAVEFORMATEX** waveFormat) override;
};

} // namespace lusheng::sp
