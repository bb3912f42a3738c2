#include "speech/ETextToSpeech.h"

#include "speech/VoiceState.h"

#include "platform/speech/ISpObjectTokenCategory.h"
#include "platform/speech/SpeechService.h"
#include "platform/system/CaseAndSearch.h"
#include "platform/system/DisplayLanguage.h"
#include "platform/system/TextCodec.h"

#include <algorithm>
#include <new>

namespace lusheng {

using namespace lusheng::sp;
using namespace lusheng::voice_detail;

namespace {

// Step 1 to 3 of opening the catalogue; the category is released as soon as it has answered.
ComPtr<IEnumSpObjectTokens> openCatalogue() {
    ComPtr<ISpObjectTokenCategory> category;
    if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                category.ReleaseAndGetAddressOf())) ||
        FAILED(category->SetId(SPCAT_VOICES, FALSE))) {
        return nullptr;
    }
    ComPtr<IEnumSpObjectTokens> tokens;
    const HRESULT hr = category->EnumTokens(u"", u"", tokens.ReleaseAndGetAddressOf());
    return hr == S_OK ? tokens : nullptr;
}

// The token's value named after the display language, else its default value.
std::optional<std::string> descriptionOf(ISpObjectToken* token) {
    const std::string name = sys::languageValueName(sys::userDisplayLanguage());
    const std::u16string valueName = sys::utf8ToUtf16(name);
    CoTaskMemPtr<WCHAR> value;
    HRESULT hr = token->GetStringValue(valueName.c_str(), value.put());
    if (hr == SPERR_NOT_FOUND) {
        hr = token->GetStringValue(nullptr, value.put());
    }
    if (FAILED(hr) || value.get() == nullptr) {
        return std::nullopt;
    }
    return sys::utf16ToUtf8(value.get());
}

bool matchesDefaultRule(const std::string& description) {
    const std::string lower = sys::toLowerCharwise(description);
    return sys::findAtCharacterStart(lower, "chinese") != std::string::npos ||
           sys::findAtCharacterStart(lower, "中文") != std::string::npos;
}

bool selectVoiceOn(ISpVoice* voice, const Text& description) {
    const auto tokens = openCatalogue();
    if (!tokens) {
        return false;
    }
    for (;;) {
        ComPtr<ISpObjectToken> token;
        if (tokens->Next(1, token.ReleaseAndGetAddressOf(), nullptr) != S_OK) {
            return false;
        }
        const auto own = descriptionOf(token.Get());
        if (!own) {
            continue;
        }
        const bool matches = description ? *own == *description : matchesDefaultRule(*own);
        if (matches) {
            return SUCCEEDED(voice->SetVoice(token.Get()));
        }
    }
}

// Runs on the voice's worker thread, with the voice state as context.
void notifyCallback(WPARAM context, LPARAM /*unused*/) {
    auto* state = reinterpret_cast<ETextToSpeech::VoiceState*>(context);
    ISpVoice* voice = state->currentVoice();
    if (voice == nullptr) {
        return;
    }
    SPEVENT event;
    while (voice->GetEvents(1, &event, nullptr) == S_OK) {
        if (event.eEventId == SPEI_SENTENCE_BOUNDARY) {
            state->reportProgress(static_cast<std::size_t>(event.lParam) +
                                  static_cast<std::size_t>(event.wParam));
            continue;
        }
        // The handle is read afresh for every message: the window may be gone by now.
        const sys::MessageWindow::Ref window = state->notificationWindow();
        if (window.handle() != 0) {
            const auto id = static_cast<std::int16_t>(event.eEventId);
            sys::sendMessage(window.handle(), kSpeechNotifyMessage, static_cast<WPARAM>(id), 0);
        }
    }
}

} // namespace

ISpVoice* ETextToSpeech::VoiceState::currentVoice() const {
    std::lock_guard lock(mutex);
    return voice.Get();
}

sys::MessageWindow::Ref ETextToSpeech::VoiceState::notificationWindow() const {
    std::lock_guard lock(mutex);
    return window;
}

void ETextToSpeech::VoiceState::reportProgress(std::size_t doneUnits) {
    std::function<bool(double)> report;
    double share = 0;
    {
        std::lock_guard lock(mutex);
        if (!progress || progressStopped) {
            return;
        }
        report = progress;
        share = progressTotal == 0 ? 0.0
                                   : std::min(1.0, static_cast<double>(doneUnits) /
                                                       static_cast<double>(progressTotal));
    }
    if (report(share)) {
        return;
    }
    ISpVoice* target = nullptr;
    {
        std::lock_guard lock(mutex);
        progressStopped = true;
        target = voice.Get();
    }
    // Ends the rendering: the waiting SpeakToFile returns, and the worker stops at once.
    if (target != nullptr) {
        target->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    }
}

ETextToSpeech::ETextToSpeech() = default;

ETextToSpeech::~ETextToSpeech() {
    Destroy();
}

void ETextToSpeech::Create() {
    if (state_ != nullptr) {
        return;
    }
    auto* state = new (std::nothrow) VoiceState;
    if (state == nullptr) {
        return;
    }
    CoInitialize(nullptr);
    ComPtr<ISpVoice> voice;
    if (FAILED(
            CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, voice.ReleaseAndGetAddressOf()))) {
        delete state;
        return;
    }
    {
        std::lock_guard lock(state->mutex);
        state->voice = voice;
    }
    state_ = state;
    voice->SetInterest(kSpeechInterest, kSpeechInterest);
    voice->SetNotifyCallbackFunction(&notifyCallback, reinterpret_cast<WPARAM>(state), 0);
    selectVoiceOn(voice.Get(), std::nullopt);
}

void ETextToSpeech::Destroy() {
    if (state_ == nullptr) {
        return;
    }
    ComPtr<ISpVoice> voice;
    {
        std::lock_guard lock(state_->mutex);
        voice = std::move(state_->voice);
    }
    // The last reference: the voice stops, and its worker is gone once this returns.
    voice.Reset();
    CoUninitialize();
    delete std::exchange(state_, nullptr);
}

bool ETextToSpeech::IsCreated() const {
    return state_ != nullptr;
}

TextArray ETextToSpeech::GetVoiceNames() const {
    if (!hasVoice(state_)) {
        return {};
    }
    const auto tokens = openCatalogue();
    ULONG count = 0;
    if (!tokens || FAILED(tokens->GetCount(&count))) {
        return {};
    }
    TextArray names;
    names.reserve(count);
    ComPtr<ISpObjectToken> token;
    while (names.size() < count &&
           tokens->Next(1, token.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        names.push_back(descriptionOf(token.Get()).value_or(std::string()));
    }
    return names;
}

bool ETextToSpeech::SelectVoice(const Text& description) {
    if (!hasVoice(state_)) {
        return false;
    }
    return selectVoiceOn(state_->voice.Get(), description);
}

bool ETextToSpeech::Speak(int mode, const Text& text, std::optional<std::int32_t> waitMs,
                          const sys::MessageWindow* window) {
    if (!hasVoice(state_)) {
        return false;
    }
    if (mode < kSpeakText || mode > kSpeakNothing) {
        return false;
    }
    if (window != nullptr && window->handle() != 0) {
        std::lock_guard lock(state_->mutex);
        state_->window = window->ref();
    }
    HRESULT status = S_OK;
    if (const auto flags = flagsOfMode(mode)) {
        const auto converted = forVoice(text);
        status = state_->voice->Speak(converted ? converted->c_str() : nullptr, SPF_ASYNC | *flags,
                                      nullptr);
    }
    if (waitMs && *waitMs != 0) {
        state_->voice->WaitUntilDone(*waitMs < 0 ? INFINITE : static_cast<ULONG>(*waitMs));
    }
    return SUCCEEDED(status);
}

bool ETextToSpeech::Stop() {
    return hasVoice(state_) &&
           SUCCEEDED(state_->voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr));
}

bool ETextToSpeech::Pause() {
    return hasVoice(state_) && SUCCEEDED(state_->voice->Pause());
}

bool ETextToSpeech::Resume() {
    return hasVoice(state_) && SUCCEEDED(state_->voice->Resume());
}

bool ETextToSpeech::SetRate(int rate) {
    if (!hasVoice(state_) || rate > 10 || rate < -10) {
        return false;
    }
    return SUCCEEDED(state_->voice->SetRate(rate));
}

std::optional<int> ETextToSpeech::GetRate() const {
    long rate = 0;
    if (!hasVoice(state_) || FAILED(state_->voice->GetRate(&rate))) {
        return std::nullopt;
    }
    return static_cast<int>(rate);
}

std::optional<std::size_t> ETextToSpeech::GetSelectedVoiceIndex() const {
    if (!hasVoice(state_)) {
        return std::nullopt;
    }
    ComPtr<ISpObjectToken> current;
    CoTaskMemPtr<WCHAR> currentId;
    if (FAILED(state_->voice->GetVoice(current.ReleaseAndGetAddressOf())) || !current ||
        FAILED(current->GetId(currentId.put()))) {
        return std::nullopt;
    }
    const auto tokens = openCatalogue();
    if (!tokens) {
        return std::nullopt;
    }
    ComPtr<ISpObjectToken> token;
    for (std::size_t index = 0; tokens->Next(1, token.ReleaseAndGetAddressOf(), nullptr) == S_OK;
         ++index) {
        CoTaskMemPtr<WCHAR> id;
        if (SUCCEEDED(token->GetId(id.put())) && std::u16string_view(id.get()) == currentId.get()) {
            return index;
        }
    }
    return std::nullopt;
}

} // namespace lusheng
