#pragma once
// The service's token class and the catalogue that makes its tokens. Internal to the service.

#include "platform/speech/ISpObjectToken.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lusheng::sp {

// What a token knows about its voice.
struct VoiceTokenData {
    std::u16string id;
    std::optional<std::u16string> defaultValue;
    std::map<std::u16string, std::u16string> values;     // "804" → description, ...
    std::map<std::u16string, std::u16string> attributes; // "Language" → "804", ...
    std::string engine;                                  // "espeak-ng"
    std::string engineVoice;                             // what the engine loads
};

class VoiceToken final : public RefCounted<ISpObjectToken> {
  public:
    explicit VoiceToken(VoiceTokenData data) : data_(std::move(data)) {}

    HRESULT GetId(WCHAR** id) override;
    HRESULT GetStringValue(const WCHAR* valueName, WCHAR** value) override;
    HRESULT GetAttribute(const WCHAR* name, WCHAR** value) override;

    const VoiceTokenData& data() const { return data_; }

  private:
    VoiceTokenData data_;
};

// Copies a string into task memory; null when memory runs out.
WCHAR* taskMemString(const std::u16string& text);

inline constexpr const char* kEngineEspeakNg = "espeak-ng";

// Reads one voice token file (INI). Nullopt when it cannot be read or is not a voice.
std::optional<VoiceTokenData> readVoiceTokenFile(const std::filesystem::path& file);

// The whole catalogue as it is now: the token files of the configured directories (each in
// file-name order, directories in their order), then the engine's usable voices.
std::vector<VoiceTokenData> readVoiceCatalogue();

// The tokens the engine's own voices get, given the engine's usable voices in its order.
struct EngineVoiceInfo;
std::vector<VoiceTokenData> engineVoiceTokens(const std::vector<EngineVoiceInfo>& voices);

} // namespace lusheng::sp
