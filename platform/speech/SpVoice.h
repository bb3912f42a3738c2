#pragma once
// The service's voice class. Internal to the service: callers use ISpVoice.

#include "platform/speech/ISpVoice.h"
#include "platform/speech/VoiceToken.h"

#include <deque>
#include <mutex>

namespace lusheng::sp {

class SpVoice final : public RefCounted<ISpVoice> {
public:
    // Fails when the synthesis engine cannot start.
    static HRESULT create(SpVoice** voice);

    HRESULT SetNotifyCallbackFunction(SPNOTIFYCALLBACK* callback, WPARAM wParam,
                                      LPARAM lParam) override;
    HRESULT SetInterest(ULONGLONG eventInterest, ULONGLONG queuedInterest) override;
    HRESULT GetInterests(ULONGLONG* eventInterest, ULONGLONG* queuedInterest) override;
    HRESULT GetEvents(ULONG count, SPEVENT* events, ULONG* fetched) override;
    HRESULT SetVoice(ISpObjectToken* token) override;
    HRESULT GetVoice(ISpObjectToken** token) override;

    // Queues the event when the queued interest asks for it, then notifies when the event
    // interest asks for it. Called by the voice's worker thread.
    void raiseEvent(const SPEVENT& event);

private:
    SpVoice() = default;
    HRESULT selectDefaultVoice();

    mutable std::mutex mutex_;
    ComPtr<VoiceToken> token_;
    std::deque<SPEVENT> events_;
    ULONGLONG eventInterest_ = 0;
    ULONGLONG queuedInterest_ = 0;
    SPNOTIFYCALLBACK* callback_ = nullptr;
    WPARAM callbackWParam_ = 0;
    LPARAM callbackLParam_ = 0;
};

} // namespace lusheng::sp
