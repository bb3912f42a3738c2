#include "tests/support/VoiceFixture.h"

#include "platform/speech/ServiceSettings.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace lusheng::test {

VoiceDirectory::VoiceDirectory(const std::vector<FixtureVoice>& voices) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lusheng-voices-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory");
    }
    path_ = pattern;
    for (const auto& voice : voices) {
        std::string text =
            "[Voice]\nEngine = espeak-ng\nEngineVoice = " + voice.engineVoice + "\n[Description]\n";
        if (voice.description) {
            text += "Default = " + *voice.description + "\n";
        }
        if (voice.chinese) {
            text += "804 = " + *voice.chinese + "\n";
        }
        if (voice.english) {
            text += "409 = " + *voice.english + "\n";
        }
        text += "[Attributes]\n" + voice.attributes + "\n";
        write(voice.file + ".voice", text);
    }
}

VoiceDirectory::~VoiceDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void VoiceDirectory::write(const std::string& fileName, const std::string& contents) const {
    std::ofstream(path_ / fileName, std::ios::binary) << contents;
}

void useOnlyVoiceDirectories(const std::vector<std::filesystem::path>& dirs) {
    sp::ServiceSettings settings;
    settings.voiceDirectories = dirs;
    settings.includeEngineVoices = false;
    sp::setServiceSettings(settings);
}

void pinDisplayLocale(const char* lang) {
    ::unsetenv("LANGUAGE");
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", lang, 1);
}

} // namespace lusheng::test
