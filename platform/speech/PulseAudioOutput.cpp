#include "platform/speech/PulseAudioOutput.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <functional>
#include <new>

namespace lusheng::sp {
namespace {

constexpr std::uint32_t kSampleRate = 22050;
// How much the server buffers ahead of what is heard: small, so Stop and Pause are quick, and
// big enough that scheduling hiccups do not cause drop-outs.
constexpr std::uint32_t kTargetBufferMs = 80;

// Holds the main loop lock for a scope.
class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) {
        pa_threaded_mainloop_lock(loop_);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

  private:
    pa_threaded_mainloop* loop_;
};

void dropOperation(pa_operation* op) {
    if (op != nullptr) {
        pa_operation_unref(op);
    }
}

} // namespace

struct PulseAudioOutput::Connection {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    // Guarded by the main loop lock.
    bool paused = false;

    static void signal(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }
    static void onContextState(pa_context*, void* self) {
        signal(static_cast<Connection*>(self)->loop);
    }
    static void onStreamEvent(pa_stream*, void* self) {
        signal(static_cast<Connection*>(self)->loop);
    }
    static void onWritable(pa_stream*, std::size_t, void* self) {
        signal(static_cast<Connection*>(self)->loop);
    }
    static void onDone(pa_stream*, int, void* self) {
        signal(static_cast<Connection*>(self)->loop);
    }

    ~Connection() {
        if (loop == nullptr) {
            return;
        }
        pa_threaded_mainloop_stop(loop);
        dropStream();
        dropContext();
        pa_threaded_mainloop_free(loop);
    }

    void dropStream() {
        if (stream != nullptr) {
            pa_stream_set_state_callback(stream, nullptr, nullptr);
            pa_stream_set_write_callback(stream, nullptr, nullptr);
            pa_stream_disconnect(stream);
            pa_stream_unref(stream);
            stream = nullptr;
        }
    }

    void dropContext() {
        if (context != nullptr) {
            pa_context_set_state_callback(context, nullptr, nullptr);
            pa_context_disconnect(context);
            pa_context_unref(context);
            context = nullptr;
        }
    }

    bool contextReady() const {
        return context != nullptr && pa_context_get_state(context) == PA_CONTEXT_READY;
    }

    bool streamReady() const {
        return stream != nullptr && pa_stream_get_state(stream) == PA_STREAM_READY;
    }

    // With the lock held. Connects (again) when there is no usable connection.
    HRESULT connect() {
        if (contextReady()) {
            return S_OK;
        }
        dropStream();
        dropContext();
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
        context = pa_context_new(api, "鹭笙语音阅读器");
        if (context == nullptr) {
            return E_OUTOFMEMORY;
        }
        pa_context_set_state_callback(context, &onContextState, this);
        // No autospawn: a missing server is reported, not started behind the user's back.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            dropContext();
            return SPERR_AUDIO_STOPPED;
        }
        const bool ready = settle<pa_context_state_t>(
            [&] { return pa_context_get_state(context); }, PA_CONTEXT_READY,
            [](pa_context_state_t s) { return PA_CONTEXT_IS_GOOD(s) != 0; });
        if (!ready) {
            dropContext();
        }
        return ready ? S_OK : SPERR_AUDIO_STOPPED;
    }

    void setPaused(bool pause) {
        LoopLock lock(loop);
        paused = pause;
        if (streamReady()) {
            dropOperation(pa_stream_cork(stream, pause ? 1 : 0, nullptr, nullptr));
        }
    }

    // With the lock held: waits until a connecting object is ready (true) or has failed.
    template <class State, class Good>
    bool settle(const std::function<State()>& state, State ready, Good good) {
        for (;;) {
            const State now = state();
            if (now == ready) {
                return true;
            }
            if (!good(now)) {
                return false;
            }
            pa_threaded_mainloop_wait(loop);
        }
    }

    // With the lock held.
    HRESULT openStream() {
        if (streamReady()) {
            return S_OK;
        }
        if (const HRESULT hr = connect(); FAILED(hr)) {
            return hr;
        }
        dropStream();
        const pa_sample_spec spec{PA_SAMPLE_S16LE, kSampleRate, 1};
        stream = pa_stream_new(context, "朗读", &spec, nullptr);
        if (stream == nullptr) {
            return E_OUTOFMEMORY;
        }
        pa_stream_set_state_callback(stream, &onStreamEvent, this);
        pa_stream_set_write_callback(stream, &onWritable, this);
        const auto bytes =
            static_cast<std::uint32_t>(pa_usec_to_bytes(kTargetBufferMs * 1000, &spec));
        const pa_buffer_attr attr{static_cast<std::uint32_t>(-1), bytes,
                                  static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1),
                                  static_cast<std::uint32_t>(-1)};
        auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_INTERPOLATE_TIMING);
        if (paused) {
            flags = static_cast<pa_stream_flags_t>(flags | PA_STREAM_START_CORKED);
        }
        if (pa_stream_connect_playback(stream, nullptr, &attr, flags, nullptr, nullptr) < 0) {
            dropStream();
            return SPERR_AUDIO_STOPPED;
        }
        const bool ready = settle<pa_stream_state_t>(
            [&] { return pa_stream_get_state(stream); }, PA_STREAM_READY,
            [](pa_stream_state_t s) { return PA_STREAM_IS_GOOD(s) != 0; });
        if (!ready) {
            dropStream();
        }
        return ready ? S_OK : SPERR_AUDIO_STOPPED;
    }
};

PulseAudioOutput::PulseAudioOutput() : connection_(std::make_unique<Connection>()) {}
PulseAudioOutput::~PulseAudioOutput() = default;

HRESULT PulseAudioOutput::make(PulseAudioOutput** output) {
    *output = nullptr;
    auto made = ComPtr<PulseAudioOutput>::Attach(new (std::nothrow) PulseAudioOutput);
    if (!made) {
        return E_OUTOFMEMORY;
    }
    Connection& c = *made->connection_;
    c.loop = pa_threaded_mainloop_new();
    if (c.loop == nullptr) {
        return E_OUTOFMEMORY;
    }
    pa_threaded_mainloop_set_name(c.loop, "lusheng-pulse");
    if (pa_threaded_mainloop_start(c.loop) < 0) {
        pa_threaded_mainloop_free(std::exchange(c.loop, nullptr));
        return E_FAIL;
    }
    *output = made.Detach();
    return S_OK;
}

WAVEFORMATEX PulseAudioOutput::waveFormat() const {
    return WAVEFORMATEX{};
}

HRESULT PulseAudioOutput::ready() {
    LoopLock lock(connection_->loop);
    return connection_->connect();
}

HRESULT PulseAudioOutput::prepare() {
    LoopLock lock(connection_->loop);
    return connection_->openStream();
}

HRESULT PulseAudioOutput::write(const std::int16_t* samples, std::size_t count,
                                const Cancellation& cancel) {
    Connection& c = *connection_;
    LoopLock lock(c.loop);
    if (const HRESULT hr = c.openStream(); FAILED(hr)) {
        return hr;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples);
    std::size_t left = count * sizeof(std::int16_t);
    while (left > 0) {
        if (cancel.requested() || !c.streamReady()) {
            return SPERR_AUDIO_STOPPED;
        }
        const std::size_t writable = pa_stream_writable_size(c.stream);
        if (writable == static_cast<std::size_t>(-1)) {
            return SPERR_AUDIO_STOPPED;
        }
        if (writable < sizeof(std::int16_t)) {
            pa_threaded_mainloop_wait(c.loop);
            continue;
        }
        const std::size_t chunk = std::min(left, writable) & ~std::size_t{1};
        if (pa_stream_write(c.stream, bytes, chunk, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            return SPERR_AUDIO_STOPPED;
        }
        bytes += chunk;
        left -= chunk;
    }
    return S_OK;
}

HRESULT PulseAudioOutput::drain(const Cancellation& cancel) {
    Connection& c = *connection_;
    LoopLock lock(c.loop);
    if (cancel.requested() || !c.streamReady()) {
        return SPERR_AUDIO_STOPPED;
    }
    pa_operation* op = pa_stream_drain(c.stream, &Connection::onDone, &c);
    if (op == nullptr) {
        return SPERR_AUDIO_STOPPED;
    }
    HRESULT hr = S_OK;
    while (pa_operation_get_state(op) == PA_OPERATION_RUNNING) {
        if (cancel.requested() || !c.streamReady()) {
            pa_operation_cancel(op);
            hr = SPERR_AUDIO_STOPPED;
            break;
        }
        pa_threaded_mainloop_wait(c.loop);
    }
    pa_operation_unref(op);
    return hr;
}

void PulseAudioOutput::pause() {
    connection_->setPaused(true);
}

void PulseAudioOutput::resume() {
    connection_->setPaused(false);
}

void PulseAudioOutput::discard() {
    Connection& c = *connection_;
    LoopLock lock(c.loop);
    if (c.streamReady()) {
        // Cork first so nothing more is heard, drop the buffer, and play on unless paused.
        dropOperation(pa_stream_cork(c.stream, 1, nullptr, nullptr));
        dropOperation(pa_stream_flush(c.stream, nullptr, nullptr));
        if (!c.paused) {
            dropOperation(pa_stream_cork(c.stream, 0, nullptr, nullptr));
        }
    }
    Connection::signal(c.loop);
}

} // namespace lusheng::sp
