#pragma once
// The voice object's state. Its address is the context of the voice's notification callback,
// which reads it on the voice's worker thread.

#include "speech/ETextToSpeech.h"

#include "platform/speech/ISpVoice.h"
#include "platform/system/TextCodec.h"
#include "platform/system/WindowMessages.h"

#include <mutex>
#include <new>
#include <optional>
#include <string>

namespace lusheng {

struct ETextToSpeech::VoiceState {
    // Guards the two fields against the callback's reads; they change on the GUI thread only.
    mutable std::mutex mutex;
    sp::ComPtr<sp::ISpVoice> voice;
    sys::MessageWindow::Ref window;
    // While a rendering into a file is followed: its progress function, the length of its text
    // (UTF-16 units; 0 when unknown) and whether it was told to stop.
    std::function<bool(double)> progress;
    std::size_t progressTotal = 0;
    bool progressStopped = false;

    sp::ISpVoice* currentVoice() const;
    sys::MessageWindow::Ref notificationWindow() const;
    // On the worker thread, for a rendered piece that ends `doneUnits` into the text.
    void reportProgress(std::size_t doneUnits);
};

namespace voice_detail {

// Start and end of input stream, for notification and queue alike.
inline constexpr sp::ULONGLONG kSpeechInterest = 0x0000000240000006ULL;

inline std::optional<sp::DWORD> flagsOfMode(int mode) {
    switch (mode) {
    case kSpeakText:
        return sp::SPF_DEFAULT;
    case kSpeakFile:
        return sp::SPF_IS_FILENAME;
    case kSpeakMarkup:
        return sp::SPF_IS_XML;
    case kSpeakNothing:
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// The conversion for the voice; the one place where running out of memory is raised.
inline std::optional<std::u16string> forVoice(const Text& text) {
    if (!text) {
        return std::nullopt;
    }
    try {
        return sys::utf8ToUtf16(*text);
    } catch (const std::bad_alloc&) {
        throw ComError(sp::E_OUTOFMEMORY);
    }
}

inline bool hasVoice(const ETextToSpeech::VoiceState* state) {
    return state != nullptr && state->voice;
}

} // namespace voice_detail

} // namespace lusheng
