#pragma once
// Where the speech service finds its voices. The program uses the defaults; tests and benchmarks
// point the catalogue at fixture directories, or leave out the engine's voices.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lusheng::sp {

struct ServiceSettings {
    // Directories of voice token files, read in this order.
    std::vector<std::filesystem::path> voiceDirectories;
    // Whether every usable espeak-ng voice is listed after the token files.
    bool includeEngineVoices = true;
    // espeak-ng's data directory; unset means the library's own.
    std::optional<std::string> engineDataPath;
};

// The installed voice directory, then $XDG_DATA_HOME/lusheng-reader/voices
// (~/.local/share/lusheng-reader/voices); engine voices included.
ServiceSettings defaultServiceSettings();

ServiceSettings serviceSettings();
void setServiceSettings(ServiceSettings settings);

} // namespace lusheng::sp
