#pragma once
// The program's one voice object: it owns a voice of the speech service, lists and selects the
// installed voices, and turns the voice's start and end events into messages to a window.
//
// Every operation is called on one thread (the GUI thread), the thread that called Create.
// The voice speaks on threads of its own; the notification messages it sends are handled on
// the window's thread.

#include <optional>
#include <string>
#include <vector>

namespace lusheng {

// A UTF-8 text. "No text" (nullopt) is distinct from the empty text where an operation cares.
using Text = std::optional<std::string>;
using TextArray = std::vector<std::string>;

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
