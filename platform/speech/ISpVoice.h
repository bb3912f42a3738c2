#pragma once
// The voice: speaks texts with the selected voice token and reports events.
//
// Threading contract: the methods may be called from any thread. The notification callback runs
// on the voice's worker thread, after the events it announces have been queued; it may block
// (for instance in a synchronous message to a window) without stalling other voices.

#include "platform/speech/ISpObjectToken.h"
#include "platform/speech/ISpStreamFormat.h"

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

    // Speaks `text` (null: nothing) by the SPF_* flags. SPF_ASYNC returns once the text is
    // queued behind what is already queued; without it, once the text has been heard.
    // SPF_PURGEBEFORESPEAK first discards everything queued or playing (and releases a
    // synchronous Speak waiting on another thread). SPF_IS_FILENAME speaks the named file's
    // contents; SPF_IS_XML (or a file that starts with a tag) speaks markup. Fails, speaking
    // nothing, on malformed markup, an unreadable file or an output that cannot play.
    virtual HRESULT Speak(const WCHAR* text, DWORD flags, ULONG* streamNumber) = 0;
    // Both act on the output at once. A paused voice still takes and queues texts; Resume
    // without Pause does nothing; a purge does not lift a pause.
    virtual HRESULT Pause() = 0;
    virtual HRESULT Resume() = 0;
    // -10..10 (E_INVALIDARG otherwise): rate r plays at 3^(r/10) times the normal speed.
    virtual HRESULT SetRate(long rate) = 0;
    virtual HRESULT GetRate(long* rate) = 0;
    // 0..100 (E_INVALIDARG otherwise).
    virtual HRESULT SetVolume(unsigned short volume) = 0;
    virtual HRESULT GetVolume(unsigned short* volume) = 0;
    // S_OK once everything queued has been heard, S_FALSE when the time ran out first.
    // INFINITE waits without limit. A waiting thread keeps handling messages sent to its windows.
    virtual HRESULT WaitUntilDone(ULONG milliseconds) = 0;

    // Null puts back the sound server output. Texts already being spoken finish where they are.
    virtual HRESULT SetOutput(ISpStreamFormat* output, BOOL allowFormatChanges) = 0;
    virtual HRESULT GetOutputStream(ISpStreamFormat** output) = 0;
};

} // namespace lusheng::sp
