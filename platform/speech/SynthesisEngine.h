#pragma once
// The one espeak-ng instance of the process.
//
// Threading contract: espeak-ng keeps global state and is not thread-safe, so every espeak call
// of every voice runs on the engine's own synthesis thread. Callers on any thread hand it work
// and block until that work is done; nothing here calls back into a caller's thread.
// espeak-ng sets the process's LC_CTYPE when it starts; the engine puts the previous value back
// right after, so the GUI never sees its locale change under it.

#include "platform/speech/SpTypes.h"

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lusheng::sp {

// One voice as espeak-ng lists it.
struct EngineVoiceInfo {
    std::string identifier; // "sit/cmn-Latn-pinyin": what the engine loads
    std::string name;       // "Chinese (Mandarin, latin as Pinyin)"
    std::string language;   // first language, lower case: "cmn-latn-pinyin"
    int gender = 0;         // 0 unknown, 1 male, 2 female
    bool mbrola = false;
};

// One piece of text to synthesise.
struct SynthesisJob {
    std::string voice; // engine voice identifier
    std::string utf8;
    int wordsPerMinute = 175; // the engine's normal rate
    int pitch = 50;           // 0..100, 50 normal
    // Asked on the synthesis thread while samples come in; true abandons the piece.
    std::function<bool()> cancelled;
};

inline constexpr int kNormalWordsPerMinute = 175;

class SynthesisEngine {
  public:
    static SynthesisEngine& instance();

    // Starts espeak-ng on the synthesis thread if it is not running yet. A failed start is tried
    // again by the next call (the settings may have changed in between).
    HRESULT start();
    bool running() const;
    int sampleRate() const;

    // The installed voices that can really speak, with a Chinese-language voice kept only when it
    // speaks Chinese text in its own language. Probed once per process.
    std::vector<EngineVoiceInfo> usableVoices();

    // Whether the engine can load this voice (by identifier).
    bool canLoadVoice(const std::string& identifier);

    // espeak-ng's phoneme mnemonics for a text, as `espeak-ng -x` shows them; language switches
    // inside the text appear as "(en)". Empty if the voice cannot be loaded.
    std::string phonemes(const std::string& identifier, const std::string& utf8Text);

    // Queues the piece and returns at once; the samples (22050 Hz mono) arrive in the future.
    // An abandoned or failed piece yields what was made up to then.
    std::future<std::vector<std::int16_t>> synthesizeAsync(SynthesisJob job);

    ~SynthesisEngine();
    SynthesisEngine(const SynthesisEngine&) = delete;
    SynthesisEngine& operator=(const SynthesisEngine&) = delete;

  private:
    SynthesisEngine();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The probe applied to Chinese-language voices: their phonemes for a short Chinese text must not
// switch to another language, and must carry tones.
bool phonemesShowOwnLanguage(const std::string& phonemes);
bool isChineseLanguage(const std::string& language);

} // namespace lusheng::sp
