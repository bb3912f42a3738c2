#pragma once
// The voice object's state. Its address is the context of the voice's notification callback,
// which reads it on the voice's worker thread.

#include "speech/ETextToSpeech.h"

#include "platform/speech/ISpVoice.h"
#include "platform/system/WindowMessages.h"

#include <mutex>

namespace lusheng {

struct ETextToSpeech::VoiceState {
    // Guards the two fields against the callback's reads; they change on the GUI thread only.
    mutable std::mutex mutex;
    sp::ComPtr<sp::ISpVoice> voice;
    sys::MessageWindow::Ref window;

    sp::ISpVoice* currentVoice() const;
    sys::MessageWindow::Ref notificationWindow() const;
};

} // namespace lusheng
