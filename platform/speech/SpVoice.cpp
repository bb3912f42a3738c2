#include "platform/speech/SpVoice.h"

#include "platform/speech/SynthesisEngine.h"

#include <algorithm>

namespace lusheng::sp {
namespace {

// Used when the catalogue holds no voice at all: the engine still speaks with its own default.
VoiceTokenData builtInDefaultVoice() {
    VoiceTokenData data;
    data.id = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\espeak-ng\\default";
    data.engine = kEngineEspeakNg;
    data.engineVoice = "en";
    return data;
}

bool carriesFlagCheck(ULONGLONG mask) { return (mask & SPFEI_FLAGCHECK) == SPFEI_FLAGCHECK; }

} // namespace

HRESULT SpVoice::create(SpVoice** voice) {
    *voice = nullptr;
    if (const HRESULT hr = SynthesisEngine::instance().start(); FAILED(hr)) {
        return hr;
    }
    auto made = ComPtr<SpVoice>::Attach(new SpVoice);
    if (const HRESULT hr = made->selectDefaultVoice(); FAILED(hr)) {
        return hr;
    }
    *voice = made.Detach();
    return S_OK;
}

HRESULT SpVoice::selectDefaultVoice() {
    for (auto& data : readVoiceCatalogue()) {
        auto token = ComPtr<VoiceToken>::Attach(new VoiceToken(std::move(data)));
        if (SUCCEEDED(SetVoice(token.Get()))) {
            return S_OK;
        }
    }
    auto fallback = ComPtr<VoiceToken>::Attach(new VoiceToken(builtInDefaultVoice()));
    return SetVoice(fallback.Get());
}

HRESULT SpVoice::SetNotifyCallbackFunction(SPNOTIFYCALLBACK* callback, WPARAM wParam,
                                           LPARAM lParam) {
    std::lock_guard lock(mutex_);
    callback_ = callback;
    callbackWParam_ = wParam;
    callbackLParam_ = lParam;
    return S_OK;
}

HRESULT SpVoice::SetInterest(ULONGLONG eventInterest, ULONGLONG queuedInterest) {
    const bool none = eventInterest == 0 && queuedInterest == 0;
    if (!none && (!carriesFlagCheck(eventInterest) ||
                  (queuedInterest != 0 && !carriesFlagCheck(queuedInterest)) ||
                  (queuedInterest & ~eventInterest) != 0)) {
        return E_INVALIDARG;
    }
    std::lock_guard lock(mutex_);
    eventInterest_ = eventInterest;
    queuedInterest_ = queuedInterest;
    return S_OK;
}

HRESULT SpVoice::GetInterests(ULONGLONG* eventInterest, ULONGLONG* queuedInterest) {
    std::lock_guard lock(mutex_);
    if (eventInterest != nullptr) {
        *eventInterest = eventInterest_;
    }
    if (queuedInterest != nullptr) {
        *queuedInterest = queuedInterest_;
    }
    return S_OK;
}

HRESULT SpVoice::GetEvents(ULONG count, SPEVENT* events, ULONG* fetched) {
    if (events == nullptr || (fetched == nullptr && count != 1)) {
        return E_POINTER;
    }
    std::lock_guard lock(mutex_);
    ULONG taken = 0;
    while (taken < count && !events_.empty()) {
        events[taken++] = events_.front();
        events_.pop_front();
    }
    if (fetched != nullptr) {
        *fetched = taken;
    }
    return taken == count ? S_OK : S_FALSE;
}

HRESULT SpVoice::SetVoice(ISpObjectToken* token) {
    if (token == nullptr) {
        return selectDefaultVoice();
    }
    auto* ours = dynamic_cast<VoiceToken*>(token);
    if (ours == nullptr) {
        return E_INVALIDARG;
    }
    const VoiceTokenData& data = ours->data();
    if (data.engine != kEngineEspeakNg ||
        !SynthesisEngine::instance().canLoadVoice(data.engineVoice)) {
        return SPERR_NOT_FOUND;
    }
    std::lock_guard lock(mutex_);
    token_ = ComPtr<VoiceToken>::Share(ours);
    return S_OK;
}

HRESULT SpVoice::GetVoice(ISpObjectToken** token) {
    if (token == nullptr) {
        return E_POINTER;
    }
    std::lock_guard lock(mutex_);
    *token = ComPtr<ISpObjectToken>(token_).Detach();
    return S_OK;
}

void SpVoice::raiseEvent(const SPEVENT& event) {
    SPNOTIFYCALLBACK* callback = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    {
        std::lock_guard lock(mutex_);
        const ULONGLONG bit = SPFEI(event.eEventId);
        if ((queuedInterest_ & bit) != 0) {
            events_.push_back(event);
        }
        if ((eventInterest_ & bit) != 0) {
            callback = callback_;
            wParam = callbackWParam_;
            lParam = callbackLParam_;
        }
    }
    // Outside the lock: the callback calls GetEvents, and may wait for another thread.
    if (callback != nullptr) {
        callback(wParam, lParam);
    }
}

} // namespace lusheng::sp
