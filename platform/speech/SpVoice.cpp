#include "platform/speech/SpVoice.h"

#include "platform/speech/FileStream.h"
#include "platform/speech/PulseAudioOutput.h"
#include "platform/speech/SynthesisEngine.h"
#include "platform/speech/TimeStretch.h"
#include "platform/system/TextCodec.h"
#include "platform/system/TextEncoding.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

namespace lusheng::sp {
namespace {

// The first piece is short so that the first sound never waits for a long sentence.
constexpr std::size_t kFirstPieceUnits = 48;
constexpr std::size_t kPieceUnits = 200;
constexpr DWORD kKnownSpeakFlags =
    SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_FILENAME | SPF_IS_XML | SPF_IS_NOT_XML;

// Used when the catalogue holds no voice at all: the engine still speaks with its own default.
VoiceTokenData builtInDefaultVoice() {
    VoiceTokenData data;
    data.id =
        u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\espeak-ng\\default";
    data.engine = kEngineEspeakNg;
    data.engineVoice = "en";
    return data;
}

bool carriesFlagCheck(ULONGLONG mask) {
    return (mask & SPFEI_FLAGCHECK) == SPFEI_FLAGCHECK;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(contents).str();
}

void applyVolume(std::vector<std::int16_t>& samples, int volume) {
    if (volume >= 100) {
        return;
    }
    for (auto& s : samples) {
        s = static_cast<std::int16_t>(s * volume / 100);
    }
}

} // namespace

HRESULT SpVoice::create(SpVoice** voice) {
    *voice = nullptr;
    if (const HRESULT hr = SynthesisEngine::instance().start(); FAILED(hr)) {
        return hr;
    }
    PulseAudioOutput* speaker = nullptr;
    if (const HRESULT hr = PulseAudioOutput::make(&speaker); FAILED(hr)) {
        return hr;
    }
    auto made = ComPtr<SpVoice>::Attach(new SpVoice);
    made->output_ = ComPtr<AudioOutput>::Attach(speaker);
    made->outputStream_ = made->output_;
    if (const HRESULT hr = made->selectDefaultVoice(); FAILED(hr)) {
        return hr;
    }
    made->worker_ = std::thread([v = made.Get()] { v->workerLoop(); });
    *voice = made.Detach();
    return S_OK;
}

SpVoice::~SpVoice() {
    ComPtr<AudioOutput> output;
    {
        std::lock_guard lock(mutex_);
        quitting_ = true;
        for (auto& request : queue_) {
            request->done = true;
        }
        queue_.clear();
        output = output_;
        ++purges_;
    }
    if (output) {
        output->discard();
    }
    workAvailable_.notify_all();
    doneChanged_.notifyAll();
    if (!worker_.joinable()) {
        return;
    }
    if (worker_.get_id() == std::this_thread::get_id()) {
        worker_.detach();
        return;
    }
    // The worker may be in the middle of a notification that waits for this very thread.
    doneChanged_.wait([&] {
        std::lock_guard lock(mutex_);
        return workerExited_;
    });
    worker_.join();
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

HRESULT SpVoice::Speak(const WCHAR* text, DWORD flags, ULONG* streamNumber) {
    if ((flags & ~kKnownSpeakFlags) != 0 || ((flags & SPF_IS_XML) && (flags & SPF_IS_NOT_XML))) {
        return E_INVALIDARG;
    }
    if ((flags & SPF_PURGEBEFORESPEAK) != 0) {
        purge();
        if (text == nullptr) {
            return S_OK;
        }
    }
    std::u16string content = text != nullptr ? std::u16string(text) : std::u16string();
    bool markup = (flags & SPF_IS_XML) != 0;
    if ((flags & SPF_IS_FILENAME) != 0) {
        const auto bytes = readWholeFile(sys::utf16ToUtf8(content));
        if (!bytes) {
            return STG_E_FILENOTFOUND;
        }
        content = sys::utf8ToUtf16(sys::decodeText(*bytes).utf8);
        markup = markup || ((flags & SPF_IS_NOT_XML) == 0 && looksLikeMarkup(content));
    }
    auto request = std::make_shared<Request>();
    if (markup) {
        auto segments = parseSpeechMarkup(content);
        if (!segments) {
            return SPERR_INVALID_MARKUP;
        }
        request->segments = std::move(*segments);
    } else {
        request->segments = plainSpeech(std::move(content));
    }

    ComPtr<AudioOutput> output;
    {
        std::lock_guard lock(mutex_);
        output = output_;
    }
    if (const HRESULT hr = output->ready(); FAILED(hr)) {
        return hr;
    }
    {
        std::lock_guard lock(mutex_);
        request->streamNumber = nextStreamNumber_++;
        queue_.push_back(request);
    }
    workAvailable_.notify_one();
    if (streamNumber != nullptr) {
        *streamNumber = request->streamNumber;
    }
    if ((flags & SPF_ASYNC) == 0) {
        doneChanged_.wait([&] {
            std::lock_guard lock(mutex_);
            return request->done;
        });
    }
    return S_OK;
}

void SpVoice::purge() {
    ComPtr<AudioOutput> output;
    {
        std::lock_guard lock(mutex_);
        for (auto& request : queue_) {
            request->done = true;
        }
        queue_.clear();
        if (current_) {
            current_->done = true;
        }
        ++purges_;
        output = output_;
    }
    // After the counter moved: the worker's next look at it, under the output's lock, stops.
    output->discard();
    doneChanged_.notifyAll();
}

HRESULT SpVoice::Pause() {
    return setPaused(true);
}

HRESULT SpVoice::Resume() {
    return setPaused(false);
}

HRESULT SpVoice::setPaused(bool paused) {
    ComPtr<AudioOutput> output;
    {
        std::lock_guard lock(mutex_);
        paused_ = paused;
        output = output_;
    }
    if (paused) {
        output->pause();
    } else {
        output->resume();
    }
    return S_OK;
}

HRESULT SpVoice::SetRate(long rate) {
    if (rate < -10 || rate > 10) {
        return E_INVALIDARG;
    }
    rate_ = rate;
    return S_OK;
}

HRESULT SpVoice::GetRate(long* rate) {
    if (rate == nullptr) {
        return E_POINTER;
    }
    *rate = rate_;
    return S_OK;
}

HRESULT SpVoice::SetVolume(unsigned short volume) {
    if (volume > 100) {
        return E_INVALIDARG;
    }
    volume_ = volume;
    return S_OK;
}

HRESULT SpVoice::GetVolume(unsigned short* volume) {
    if (volume == nullptr) {
        return E_POINTER;
    }
    *volume = volume_;
    return S_OK;
}

bool SpVoice::idle() const {
    std::lock_guard lock(mutex_);
    return queue_.empty() && !current_;
}

HRESULT SpVoice::WaitUntilDone(ULONG milliseconds) {
    if (milliseconds == INFINITE) {
        doneChanged_.wait([&] { return idle(); });
        return S_OK;
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    return doneChanged_.waitUntil(deadline, [&] { return idle(); }) ? S_OK : S_FALSE;
}

HRESULT SpVoice::SetOutput(ISpStreamFormat* output, BOOL /*allowFormatChanges*/) {
    ComPtr<AudioOutput> next;
    ComPtr<ISpStreamFormat> stream;
    if (output == nullptr) {
        PulseAudioOutput* speaker = nullptr;
        if (const HRESULT hr = PulseAudioOutput::make(&speaker); FAILED(hr)) {
            return hr;
        }
        next = ComPtr<AudioOutput>::Attach(speaker);
        stream = next;
    } else if (auto* audio = dynamic_cast<AudioOutput*>(output)) {
        next = ComPtr<AudioOutput>::Share(audio);
        stream = next;
    } else if (auto* file = dynamic_cast<FileStream*>(output)) {
        next = file->output();
        if (!next) {
            return SPERR_UNINITIALIZED;
        }
        stream = ComPtr<ISpStreamFormat>::Share(file);
    } else {
        return E_INVALIDARG;
    }
    bool paused = false;
    {
        std::lock_guard lock(mutex_);
        output_ = next;
        outputStream_ = stream;
        paused = paused_;
    }
    if (paused) {
        next->pause();
    } else {
        next->resume();
    }
    return S_OK;
}

HRESULT SpVoice::GetOutputStream(ISpStreamFormat** output) {
    if (output == nullptr) {
        return E_POINTER;
    }
    std::lock_guard lock(mutex_);
    *output = ComPtr<ISpStreamFormat>(outputStream_).Detach();
    return S_OK;
}

void SpVoice::raiseEvent(SPEVENTENUM id, ULONG streamNumber, ULONGLONG audioOffset,
                         WPARAM eventWParam, LPARAM eventLParam) {
    SPEVENT event;
    event.eEventId = id;
    event.ulStreamNum = streamNumber;
    event.ullAudioStreamOffset = audioOffset;
    event.wParam = eventWParam;
    event.lParam = eventLParam;
    SPNOTIFYCALLBACK* callback = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    {
        std::lock_guard lock(mutex_);
        const ULONGLONG bit = SPFEI(id);
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

void SpVoice::workerLoop() {
    for (;;) {
        std::shared_ptr<Request> request;
        ComPtr<AudioOutput> output;
        Cancellation cancel{&purges_, 0};
        {
            std::unique_lock lock(mutex_);
            workAvailable_.wait(lock, [&] { return quitting_ || !queue_.empty(); });
            if (quitting_) {
                break;
            }
            request = queue_.front();
            queue_.pop_front();
            current_ = request;
            output = output_;
            cancel.seen = purges_;
        }
        speakRequest(*request, *output, cancel);
        // Let go of the output before the text counts as done: a file stream is then complete
        // as soon as its owner releases it.
        output.Reset();
        {
            std::lock_guard lock(mutex_);
            request->done = true;
            current_.reset();
        }
        doneChanged_.notifyAll();
    }
    {
        std::lock_guard lock(mutex_);
        workerExited_ = true;
    }
    doneChanged_.notifyAll();
}

void SpVoice::speakRequest(const Request& request, AudioOutput& output,
                           const Cancellation& cancel) {
    if (cancel.requested() || FAILED(output.prepare())) {
        return;
    }
    ULONGLONG written = 0;
    raiseEvent(SPEI_START_INPUT_STREAM, request.streamNumber, 0);
    HRESULT hr = S_OK;
    std::size_t textOffset = 0;
    for (const auto& segment : request.segments) {
        hr = speakSegment(segment, request.streamNumber, textOffset, output, cancel, written);
        if (FAILED(hr)) {
            break;
        }
        textOffset += segment.text.size();
    }
    // The end is reported once the text has been heard, not merely synthesised.
    if (SUCCEEDED(hr)) {
        output.drain(cancel);
    }
    raiseEvent(SPEI_END_INPUT_STREAM, request.streamNumber, written);
}

HRESULT SpVoice::speakSegment(const SpeechSegment& segment, ULONG streamNumber,
                              std::size_t textOffset, AudioOutput& output,
                              const Cancellation& cancel, ULONGLONG& written) {
    const int sampleRate = SynthesisEngine::instance().sampleRate();
    if (segment.silenceMs > 0) {
        std::vector<std::int16_t> silence(static_cast<std::size_t>(sampleRate) / 10, 0);
        std::size_t left = static_cast<std::size_t>(sampleRate) * segment.silenceMs / 1000;
        while (left > 0) {
            const std::size_t n = std::min(left, silence.size());
            if (const HRESULT hr = output.write(silence.data(), n, cancel); FAILED(hr)) {
                return hr;
            }
            written += n * sizeof(std::int16_t);
            left -= n;
        }
        return S_OK;
    }
    const std::u16string spelled = segment.spell ? spelledOut(segment.text) : std::u16string();
    const std::u16string_view text =
        segment.spell ? std::u16string_view(spelled) : std::u16string_view(segment.text);

    struct Pending {
        std::future<std::vector<std::int16_t>> samples;
        RatePlan plan;
        int volume = 100;
        std::size_t start = 0; // the piece's place in the segment's text
        std::size_t length = 0;
    };
    std::size_t position = 0;
    // Hands the next piece to the synthesis thread; the rate, voice and volume in force now apply.
    const auto submit = [&]() -> std::optional<Pending> {
        if (position >= text.size()) {
            return std::nullopt;
        }
        const std::size_t end = pieceEnd(
            text, position, written == 0 && position == 0 ? kFirstPieceUnits : kPieceUnits);
        SynthesisJob job;
        {
            std::lock_guard lock(mutex_);
            job.voice = token_->data().engineVoice;
        }
        const int rate = std::clamp(
            static_cast<int>(segment.absoluteRate.value_or(static_cast<int>(rate_.load()))) +
                segment.rateChange,
            -10, 10);
        Pending pending;
        pending.plan = planRate(rate);
        pending.volume = volume_ * segment.volume / 100;
        job.wordsPerMinute = pending.plan.wordsPerMinute;
        job.pitch = std::clamp(50 + segment.pitch * 5, 0, 100);
        job.utf8 = sys::utf16ToUtf8(text.substr(position, end - position));
        job.cancelled = [cancel] { return cancel.requested(); };
        pending.start = position;
        pending.length = end - position;
        position = end;
        pending.samples = SynthesisEngine::instance().synthesizeAsync(std::move(job));
        return pending;
    };

    HRESULT hr = S_OK;
    std::optional<Pending> current = submit();
    while (current) {
        std::vector<std::int16_t> samples = current->samples.get();
        // While this piece plays, the next one is synthesised.
        std::optional<Pending> next =
            SUCCEEDED(hr) && !cancel.requested() ? submit() : std::nullopt;
        if (SUCCEEDED(hr) && !cancel.requested()) {
            samples = stretchSpeech(samples, current->plan.stretch, sampleRate);
            applyVolume(samples, current->volume);
            hr = output.write(samples.data(), samples.size(), cancel);
            written += samples.size() * sizeof(std::int16_t);
            // The piece has been rendered: its place in the spoken text (lParam) and its length
            // (wParam), in UTF-16 units. Spelled-out text is not reported: its pieces are of
            // the spelling, not of the text.
            if (SUCCEEDED(hr) && !segment.spell) {
                raiseEvent(SPEI_SENTENCE_BOUNDARY, streamNumber, written,
                           static_cast<WPARAM>(current->length),
                           static_cast<LPARAM>(textOffset + current->start));
            }
        }
        if (cancel.requested()) {
            hr = SPERR_AUDIO_STOPPED;
        }
        current = std::move(next);
    }
    return hr;
}

} // namespace lusheng::sp
