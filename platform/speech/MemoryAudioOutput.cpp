#include "platform/speech/MemoryAudioOutput.h"

#include <algorithm>

namespace lusheng::sp {

HRESULT AudioOutput::GetFormat(GUID* formatId, WAVEFORMATEX** format) {
    if (formatId == nullptr || format == nullptr) {
        return E_POINTER;
    }
    *formatId = SPDFID_WaveFormatEx;
    *format = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
    if (*format == nullptr) {
        return E_OUTOFMEMORY;
    }
    **format = waveFormat();
    return S_OK;
}

ComPtr<MemoryAudioOutput> MemoryAudioOutput::make(std::size_t capacity, bool autoPlay) {
    return ComPtr<MemoryAudioOutput>::Attach(
        new MemoryAudioOutput(std::max<std::size_t>(capacity, 1), autoPlay));
}

WAVEFORMATEX MemoryAudioOutput::waveFormat() const {
    return WAVEFORMATEX{};
}

HRESULT MemoryAudioOutput::ready() {
    std::lock_guard lock(mutex_);
    return available_ ? S_OK : SPERR_AUDIO_STOPPED;
}

HRESULT MemoryAudioOutput::prepare() {
    return ready();
}

HRESULT MemoryAudioOutput::write(const std::int16_t* samples, std::size_t count,
                                 const Cancellation& cancel) {
    std::unique_lock lock(mutex_);
    std::size_t done = 0;
    while (done < count) {
        changed_.wait(lock, [&] {
            return cancel.requested() || !available_ || buffered_.size() < capacity_ ||
                   (autoPlay_ && !paused_);
        });
        if (cancel.requested() || !available_) {
            return SPERR_AUDIO_STOPPED;
        }
        const std::size_t room = capacity_ > buffered_.size() ? capacity_ - buffered_.size() : 0;
        const std::size_t take =
            std::min(count - done, std::max<std::size_t>(room, autoPlay_ ? 1 : 0));
        buffered_.insert(buffered_.end(), samples + done, samples + done + take);
        done += take;
        written_ += take;
        if (autoPlay_) {
            playLocked(SIZE_MAX);
        }
        changed_.notify_all();
    }
    return S_OK;
}

HRESULT MemoryAudioOutput::drain(const Cancellation& cancel) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return cancel.requested() || !available_ || buffered_.empty(); });
    return buffered_.empty() && !cancel.requested() ? S_OK : SPERR_AUDIO_STOPPED;
}

void MemoryAudioOutput::pause() {
    std::lock_guard lock(mutex_);
    paused_ = true;
}

void MemoryAudioOutput::resume() {
    {
        std::lock_guard lock(mutex_);
        paused_ = false;
        if (autoPlay_) {
            playLocked(SIZE_MAX);
        }
    }
    changed_.notify_all();
}

void MemoryAudioOutput::discard() {
    {
        std::lock_guard lock(mutex_);
        buffered_.clear();
    }
    changed_.notify_all();
}

std::size_t MemoryAudioOutput::playLocked(std::size_t count) {
    if (paused_) {
        return 0;
    }
    const std::size_t n = std::min(count, buffered_.size());
    played_.insert(played_.end(), buffered_.begin(),
                   buffered_.begin() + static_cast<std::ptrdiff_t>(n));
    buffered_.erase(buffered_.begin(), buffered_.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

std::size_t MemoryAudioOutput::play(std::size_t count) {
    std::size_t n = 0;
    {
        std::lock_guard lock(mutex_);
        n = playLocked(count);
    }
    changed_.notify_all();
    return n;
}

std::vector<std::int16_t> MemoryAudioOutput::playedSamples() const {
    std::lock_guard lock(mutex_);
    return played_;
}

std::size_t MemoryAudioOutput::writtenCount() const {
    std::lock_guard lock(mutex_);
    return written_;
}

std::size_t MemoryAudioOutput::bufferedCount() const {
    std::lock_guard lock(mutex_);
    return buffered_.size();
}

bool MemoryAudioOutput::paused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

void MemoryAudioOutput::setAvailable(bool available) {
    {
        std::lock_guard lock(mutex_);
        available_ = available;
    }
    changed_.notify_all();
}

} // namespace lusheng::sp
