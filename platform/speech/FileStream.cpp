#include "platform/speech/FileStream.h"

#include "platform/speech/SynthesisEngine.h"
#include "platform/system/TextCodec.h"

#include <atomic>
#include <system_error>

namespace lusheng::sp {
namespace {

std::atomic<bool> keepRf64{false};

bool isUsableFormat(const GUID* formatId, const WAVEFORMATEX* format) {
    return formatId != nullptr && *formatId == SPDFID_WaveFormatEx && format != nullptr &&
           format->wFormatTag == WAVE_FORMAT_PCM && format->nChannels == 1 &&
           format->wBitsPerSample == 16 && format->nSamplesPerSec >= 8000 &&
           format->nSamplesPerSec <= 192000;
}

} // namespace

FileAudioOutput::FileAudioOutput(std::unique_ptr<AudioFile> file, const WAVEFORMATEX& format)
    : file_(std::move(file)), format_(format) {}

FileAudioOutput::~FileAudioOutput() {
    close();
}

HRESULT FileAudioOutput::ready() {
    std::lock_guard lock(mutex_);
    return closed_ ? STG_E_WRITEFAULT : S_OK;
}

HRESULT FileAudioOutput::prepare() {
    return ready();
}

HRESULT FileAudioOutput::write(const std::int16_t* samples, std::size_t count,
                               const Cancellation& cancel) {
    std::lock_guard lock(mutex_);
    if (cancel.requested()) {
        return SPERR_AUDIO_STOPPED;
    }
    if (closed_ || !file_->write(samples, count)) {
        return STG_E_WRITEFAULT;
    }
    return S_OK;
}

HRESULT FileAudioOutput::drain(const Cancellation& cancel) {
    std::lock_guard lock(mutex_);
    return cancel.requested() ? SPERR_AUDIO_STOPPED : S_OK;
}

HRESULT FileAudioOutput::close() {
    std::lock_guard lock(mutex_);
    if (!closed_) {
        closed_ = true;
        closeResult_ = file_->close() ? S_OK : STG_E_WRITEFAULT;
    }
    return closeResult_;
}

FileStream::~FileStream() {
    Close();
}

HRESULT FileStream::BindToFile(const WCHAR* path, int mode, const GUID* formatId,
                               const WAVEFORMATEX* format, ULONGLONG /*eventInterest*/) {
    if (path == nullptr || *path == u'\0' || mode != SPFM_CREATE_ALWAYS) {
        return E_INVALIDARG;
    }
    if (!isUsableFormat(formatId, format)) {
        return SPERR_UNSUPPORTED_FORMAT;
    }
    std::lock_guard lock(mutex_);
    if (output_) {
        return E_INVALIDARG;
    }
    const std::filesystem::path file(sys::utf16ToUtf8(path));
    AudioFile::Options options;
    const int engineRate = SynthesisEngine::instance().sampleRate();
    options.inputRate = engineRate > 0 ? static_cast<std::uint32_t>(engineRate) : 22050;
    options.fileRate = format->nSamplesPerSec;
    options.alwaysRf64 = keepRf64.load();
    std::string error;
    auto audio = AudioFile::create(file, options, &error);
    if (!audio) {
        std::error_code ignored;
        const auto folder =
            file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
        return std::filesystem::is_directory(folder, ignored) ? STG_E_ACCESSDENIED
                                                              : STG_E_PATHNOTFOUND;
    }
    output_ = ComPtr<FileAudioOutput>::Attach(new FileAudioOutput(std::move(audio), *format));
    return S_OK;
}

HRESULT FileStream::Close() {
    ComPtr<FileAudioOutput> output;
    {
        std::lock_guard lock(mutex_);
        output = output_;
    }
    return output ? output->close() : S_OK;
}

HRESULT FileStream::GetFormat(GUID* formatId, WAVEFORMATEX** waveFormat) {
    const ComPtr<AudioOutput> bound = output();
    if (!bound) {
        return SPERR_UNINITIALIZED;
    }
    return bound->GetFormat(formatId, waveFormat);
}

ComPtr<AudioOutput> FileStream::output() const {
    std::lock_guard lock(mutex_);
    return output_;
}

void FileStream::keepRf64ForTesting(bool keep) {
    keepRf64 = keep;
}

} // namespace lusheng::sp
