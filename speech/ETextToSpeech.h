#pragma once
// The program's one voice object: it owns a voice of the speech service, lists and selects the
// installed voices, and turns the voice's start and end events into messages to a window.
//
// Every operation is called on one thread (the GUI thread), the thread that called Create.
// The voice speaks on threads of its own; the notification messages it sends are handled on
// the window's thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lusheng {

namespace sys {
class MessageWindow;
}

// The one error raised to callers: memory ran out while a text was converted for the voice.
class ComError : public std::runtime_error {
  public:
    explicit ComError(std::int32_t status)
        : std::runtime_error("speech service error"), status_(status) {}
    std::int32_t status() const { return status_; }

  private:
    std::int32_t status_;
};

// What the text argument of Speak and SpeakToFile is.
enum SpeakingMode : int {
    kSpeakText = 0,   // plain text
    kSpeakFile = 1,   // the path of a file whose contents are spoken
    kSpeakMarkup = 2, // text with speech markup
    kSpeakNothing = 3,
};

// The message the voice sends to its notification window: wParam 1 when a text starts to be
// heard, 2 when it has been heard to the end; lParam 0.
inline constexpr std::uint32_t kSpeechNotifyMessage = 0x8075;

// A UTF-8 text. "No text" (nullopt) is distinct from the empty text where an operation cares.
using Text = std::optional<std::string>;
using TextArray = std::vector<std::string>;

// How a rendering into an audio file goes: a way to follow and stop it, and how it ended.
struct FileRendering {
    // Called on the voice's worker thread as the text is rendered, with the share of the text
    // done so far (0 to 1). Returning false stops the rendering there; the file then holds,
    // complete and valid, what was rendered up to that point.
    std::function<bool(double share)> progress;
    // Set when SpeakToFile returns.
    bool cancelled = false;
    bool complete = true; // false: the file could not take all of the speech (a full disk)
};

class ETextToSpeech {
  public:
    ETextToSpeech();
    // Destroys the voice state if the owner did not.
    ~ETextToSpeech();
    ETextToSpeech(const ETextToSpeech&) = delete;
    ETextToSpeech& operator=(const ETextToSpeech&) = delete;

    // Makes the voice and selects the first installed Chinese voice. A created object stays as
    // it is; if the voice cannot be made, the object stays not created.
    void Create();
    // Releases the voice, ending its speech. Does nothing on an object that is not created.
    void Destroy();
    bool IsCreated() const;

    // The descriptions of the installed voices in catalogue order, in the user's display
    // language; "" for a voice without one. Empty on any failure.
    TextArray GetVoiceNames() const;

    // Selects the first voice whose description equals `description` exactly; with no text,
    // the first voice whose description contains "chinese" (any letter case) or "中文".
    bool SelectVoice(const Text& description);

    // Hands the text to the voice by `mode` (kSpeakText ... kSpeakNothing; any other mode: false,
    // nothing happens). Queued behind what is being spoken; returns at once unless `waitMs` is
    // given and not 0 (positive: wait up to that long; negative: until everything is heard).
    // A given `window` that has a handle becomes the notification window. True when the voice
    // took the text, and for kSpeakNothing. Throws ComError(E_OUTOFMEMORY) when memory runs out.
    bool Speak(int mode, const Text& text, std::optional<std::int32_t> waitMs = std::nullopt,
               const sys::MessageWindow* window = nullptr);
    // Speaks the text by `mode` (as Speak) into the audio file `fileName` instead of the
    // loudspeaker and returns once the file is complete; the voice's output is put back
    // before it returns. The file is created or replaced; its type follows its extension
    // (.wav, .flac, .ogg/.opus, .mp3; any other: WAV). True once the file has been made (for
    // kSpeakNothing an empty one), even if speaking failed. False with no voice, a mode outside
    // kSpeakText ... kSpeakNothing or no file name (nothing touched), or when the file cannot
    // be created (the output unchanged). Throws ComError(E_OUTOFMEMORY) when memory runs out.
    bool SpeakToFile(int mode, const Text& text, const Text& fileName,
                     FileRendering* rendering = nullptr);
    // Discards everything queued or being spoken.
    bool Stop();
    bool Pause();
    bool Resume();
    // -10..10; anything else is refused and the rate stays.
    bool SetRate(int rate);
    // The rate the voice speaks at, or nullopt when the object has no voice.
    std::optional<int> GetRate() const;

    // Where the voice that speaks now stands in GetVoiceNames(), or nullopt when it is not in
    // the catalogue (or the object has no voice).
    std::optional<std::size_t> GetSelectedVoiceIndex() const;

    // Opaque; its address is the context of the voice's notifications.
    struct VoiceState;

  private:
    VoiceState* state_ = nullptr;
};

// The type's Chinese name.
using 机读文本 = ETextToSpeech;

} // namespace lusheng
