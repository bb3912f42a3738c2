#pragma once
// The service's file stream class (CLSID_SpStream). Internal to the service: callers use
// ISpStream. The voice writes into the stream's output on its worker thread; Close() and the
// last Release() may come from any thread and wait for a write in progress.

#include "platform/speech/AudioFile.h"
#include "platform/speech/AudioOutput.h"
#include "platform/speech/ISpStream.h"

#include <mutex>

namespace lusheng::sp {

// The output side of a bound file stream: what the voice writes to. A file is not played, so
// writes never wait: pause and resume do not hold it up, and discarding leaves what is already
// in the file.
class FileAudioOutput final : public RefCounted<AudioOutput> {
  public:
    FileAudioOutput(std::unique_ptr<AudioFile> file, const WAVEFORMATEX& format);
    ~FileAudioOutput() override;

    WAVEFORMATEX waveFormat() const override { return format_; }
    HRESULT ready() override;
    HRESULT prepare() override;
    HRESULT write(const std::int16_t* samples, std::size_t count,
                  const Cancellation& cancel) override;
    HRESULT drain(const Cancellation& cancel) override;
    void pause() override {}
    void resume() override {}
    void discard() override {}

    HRESULT close();

  private:
    mutable std::mutex mutex_;
    std::unique_ptr<AudioFile> file_;
    const WAVEFORMATEX format_;
    bool closed_ = false;
    HRESULT closeResult_ = S_OK;
};

class FileStream final : public RefCounted<ISpStream> {
  public:
    FileStream() = default;
    ~FileStream() override;

    HRESULT BindToFile(const WCHAR* path, int mode, const GUID* formatId,
                       const WAVEFORMATEX* format, ULONGLONG eventInterest) override;
    HRESULT Close() override;
    HRESULT GetFormat(GUID* formatId, WAVEFORMATEX** waveFormat) override;

    // What a voice given this stream writes to; null until bound.
    ComPtr<AudioOutput> output() const;

    // For tests: WAVE files stay in the RF64 container even when small.
    static void keepRf64ForTesting(bool keep);

  private:
    mutable std::mutex mutex_;
    ComPtr<FileAudioOutput> output_;
};

} // namespace lusheng::sp
