#pragma once
// The voice: speaks texts with the selected voice token and reports events.
//
// Threading contract: the methods may be called from any thread. The notification callback runs
// on the voice's worker thread, after the events it announces have been queued; it may block
// (for instance in a synchronous message to a window) without stalling other voices.

#include "platform/speech/ISpObjectToken.h"

namespace lusheng::sp {

class ISpVoice : public IUnknown {
public:
    // Called as callback(wParam, lParam) whenever events of the event interest occur. A null
    // callback stops the notifications.
    virtual HRESULT SetNotifyCallbackFunction(SPNOTIFYCALLBACK* callback, WPARAM wParam,
                                              LPARAM lParam) = 0;
    // Masks of SPFEI(id) bits, each with SPFEI_FLAGCHECK: which events notify, and which are
    // kept for GetEvents. The queued interest must be part of the event interest.
    virtual HRESULT SetInterest(ULONGLONG eventInterest, ULONGLONG queuedInterest) = 0;
    virtual HRESULT GetInterests(ULONGLONG* eventInterest, ULONGLONG* queuedInterest) = 0;
    // Takes up to `count` queued events, oldest first: S_OK when `count` were taken, S_FALSE
    // when fewer were queued. `fetched` may be null when count is 1.
    virtual HRESULT GetEvents(ULONG count, SPEVENT* events, ULONG* fetched) = 0;

    // Later speech uses that voice; null selects the service's default voice.
    virtual HRESULT SetVoice(ISpObjectToken* token) = 0;
    virtual HRESULT GetVoice(ISpObjectToken** token) = 0;
};

} // namespace lusheng::sp
