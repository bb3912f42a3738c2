#include "platform/speech/AudioFile.h"

#include <sndfile.h>
#include <soxr.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace lusheng::sp {
namespace {

constexpr std::uint32_t kOpusRate = 48000;

std::string lowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

int sndfileFormatOf(AudioFileType type) {
    switch (type) {
    case AudioFileType::Flac:
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    case AudioFileType::OggOpus:
        return SF_FORMAT_OGG | SF_FORMAT_OPUS;
    case AudioFileType::Mp3:
        return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    case AudioFileType::Wave:
        break;
    }
    // RF64 with automatic downgrade: libsndfile writes a plain RIFF WAVE file unless the data
    // passes the RIFF size limit.
    return SF_FORMAT_RF64 | SF_FORMAT_PCM_16;
}

} // namespace

AudioFileType audioFileTypeFor(const std::filesystem::path& path) {
    const std::string extension = lowerExtension(path);
    if (extension == ".flac") {
        return AudioFileType::Flac;
    }
    if (extension == ".ogg" || extension == ".opus") {
        return AudioFileType::OggOpus;
    }
    if (extension == ".mp3") {
        return AudioFileType::Mp3;
    }
    return AudioFileType::Wave;
}

struct AudioFile::Handles {
    SNDFILE* file = nullptr;
    soxr_t resampler = nullptr; // when the file's rate is not the input's
    double ratio = 1.0;
    std::vector<std::int16_t> resampled;

    ~Handles() {
        if (resampler != nullptr) {
            soxr_delete(resampler);
        }
        if (file != nullptr) {
            sf_close(file);
        }
    }
};

std::unique_ptr<AudioFile> AudioFile::create(const std::filesystem::path& path,
                                             const Options& options, std::string* error) {
    const AudioFileType type = audioFileTypeFor(path);
    const std::uint32_t fileRate = type == AudioFileType::OggOpus ? kOpusRate : options.fileRate;
    SF_INFO info{};
    info.samplerate = static_cast<int>(fileRate);
    info.channels = 1;
    info.format = sndfileFormatOf(type);
    // Checked before the file is opened, so that a type this libsndfile lacks leaves an
    // existing file as it was.
    if (sf_format_check(&info) == 0) {
        if (error != nullptr) {
            *error = "the audio file type is not available";
        }
        return nullptr;
    }
    auto handles = std::make_unique<Handles>();
    handles->file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (handles->file == nullptr) {
        if (error != nullptr) {
            *error = sf_strerror(nullptr);
        }
        return nullptr;
    }
    if (type == AudioFileType::Wave && !options.alwaysRf64) {
        sf_command(handles->file, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
    }
    if (fileRate != options.inputRate) {
        soxr_error_t failure = nullptr;
        const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
        handles->resampler =
            soxr_create(options.inputRate, fileRate, 1, &failure, &io, &quality, nullptr);
        if (handles->resampler == nullptr) {
            if (error != nullptr) {
                *error = failure != nullptr ? failure : "no resampler";
            }
            return nullptr;
        }
        handles->ratio = static_cast<double>(fileRate) / static_cast<double>(options.inputRate);
    }
    return std::unique_ptr<AudioFile>(new AudioFile(type, std::move(handles)));
}

AudioFile::AudioFile(AudioFileType type, std::unique_ptr<Handles> handles)
    : type_(type), handles_(std::move(handles)) {}

AudioFile::~AudioFile() {
    close();
}

bool AudioFile::writeToFile(const std::int16_t* samples, std::size_t count) {
    if (count == 0) {
        return true;
    }
    const auto written = sf_write_short(handles_->file, samples, static_cast<sf_count_t>(count));
    return written == static_cast<sf_count_t>(count);
}

bool AudioFile::write(const std::int16_t* samples, std::size_t count) {
    if (closed_ || failed_) {
        return false;
    }
    if (handles_->resampler == nullptr) {
        failed_ = !writeToFile(samples, count);
        return !failed_;
    }
    handles_->resampled.resize(
        static_cast<std::size_t>(static_cast<double>(count) * handles_->ratio) + 64);
    std::size_t used = 0;
    std::size_t produced = 0;
    if (soxr_process(handles_->resampler, samples, count, &used, handles_->resampled.data(),
                     handles_->resampled.size(), &produced) != nullptr) {
        failed_ = true;
        return false;
    }
    failed_ = !writeToFile(handles_->resampled.data(), produced);
    return !failed_;
}

bool AudioFile::close() {
    if (closed_) {
        return !failed_;
    }
    closed_ = true;
    if (handles_->resampler != nullptr && !failed_) {
        // What the resampler still holds back is the end of the speech.
        handles_->resampled.resize(4096);
        for (;;) {
            std::size_t produced = 0;
            if (soxr_process(handles_->resampler, nullptr, 0, nullptr, handles_->resampled.data(),
                             handles_->resampled.size(), &produced) != nullptr ||
                produced == 0) {
                break;
            }
            if (!writeToFile(handles_->resampled.data(), produced)) {
                failed_ = true;
                break;
            }
        }
    }
    if (sf_close(handles_->file) != 0) {
        failed_ = true;
    }
    handles_->file = nullptr;
    return !failed_;
}

} // namespace lusheng::sp
