#pragma once
// Fixture voice directories and a pinned locale for tests of the voice catalogue.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lusheng::test {

struct FixtureVoice {
    std::string file;                       // token file name without ".voice"
    std::optional<std::string> description; // the default value
    std::optional<std::string> chinese;     // the "804" value
    std::optional<std::string> english;     // the "409" value
    std::string engineVoice = "en";
    std::string attributes; // extra lines for [Attributes]
};

// A temporary directory of voice token files, removed again on destruction.
class VoiceDirectory {
  public:
    explicit VoiceDirectory(const std::vector<FixtureVoice>& voices);
    ~VoiceDirectory();
    VoiceDirectory(const VoiceDirectory&) = delete;
    VoiceDirectory& operator=(const VoiceDirectory&) = delete;
    const std::filesystem::path& path() const { return path_; }
    void write(const std::string& fileName, const std::string& contents) const;

  private:
    std::filesystem::path path_;
};

// Points the service at the given directories only, without the engine's own voices.
void useOnlyVoiceDirectories(const std::vector<std::filesystem::path>& dirs);

// Sets LANG (and clears LANGUAGE, LC_ALL, LC_MESSAGES) so the display language is known.
void pinDisplayLocale(const char* lang);

} // namespace lusheng::test
