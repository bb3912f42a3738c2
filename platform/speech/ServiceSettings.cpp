#include "platform/speech/ServiceSettings.h"

#include <cstdlib>
#include <mutex>

#ifndef LUSHENG_SYSTEM_VOICE_DIR
#error "LUSHENG_SYSTEM_VOICE_DIR must name the installed voice directory"
#endif

namespace lusheng::sp {
namespace {

std::mutex settingsMutex;

std::filesystem::path userVoiceDirectory() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        return std::filesystem::path(data) / "lusheng-reader" / "voices";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".local" / "share" / "lusheng-reader" / "voices";
    }
    return {};
}

ServiceSettings& current() {
    static ServiceSettings settings = defaultServiceSettings();
    return settings;
}

} // namespace

ServiceSettings defaultServiceSettings() {
    ServiceSettings settings;
    settings.voiceDirectories.emplace_back(LUSHENG_SYSTEM_VOICE_DIR);
    if (auto user = userVoiceDirectory(); !user.empty()) {
        settings.voiceDirectories.push_back(std::move(user));
    }
    return settings;
}

ServiceSettings serviceSettings() {
    std::lock_guard lock(settingsMutex);
    return current();
}

void setServiceSettings(ServiceSettings settings) {
    std::lock_guard lock(settingsMutex);
    current() = std::move(settings);
}

} // namespace lusheng::sp
