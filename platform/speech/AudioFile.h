#pragma once
// Writes 16-bit mono speech into an audio file whose type follows the file's extension:
//   .wav (and any unknown extension)  RIFF WAVE, 16-bit PCM; RF64 once the data would pass the
//                                     4 GiB limit of RIFF, so a book of any length stays valid
//   .flac                             FLAC, 16-bit
//   .ogg, .opus                       Ogg Opus (resampled to 48 kHz, the rates Opus takes)
//   .mp3                              MPEG-2 Layer III
// One thread at a time; the owner serialises calls.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace lusheng::sp {

enum class AudioFileType { Wave, Flac, OggOpus, Mp3 };

// By the extension, letter case ignored; anything else is Wave.
AudioFileType audioFileTypeFor(const std::filesystem::path& path);

class AudioFile {
  public:
    struct Options {
        // The rate of the samples handed to write().
        std::uint32_t inputRate = 22050;
        // The rate the file holds, where its type allows it (Opus always holds 48 kHz).
        std::uint32_t fileRate = 22050;
        // For tests: keep a WAVE file in the RF64 container even when it is small.
        bool alwaysRf64 = false;
    };

    // Creates the file, or replaces an existing one; null with a reason in `error` when it
    // cannot be created.
    static std::unique_ptr<AudioFile> create(const std::filesystem::path& path,
                                             const Options& options, std::string* error);
    ~AudioFile();
    AudioFile(const AudioFile&) = delete;
    AudioFile& operator=(const AudioFile&) = delete;

    AudioFileType type() const { return type_; }
    // False when the file could not take the samples (a full disk, a size limit).
    bool write(const std::int16_t* samples, std::size_t count);
    // Completes the file. False when it could not be completed or an earlier write failed;
    // later calls only repeat the answer.
    bool close();

  private:
    struct Handles;
    AudioFile(AudioFileType type, std::unique_ptr<Handles> handles);
    bool writeToFile(const std::int16_t* samples, std::size_t count);

    AudioFileType type_;
    std::unique_ptr<Handles> handles_;
    bool failed_ = false;
    bool closed_ = false;
};

} // namespace lusheng::sp
