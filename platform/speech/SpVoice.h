#pragma once
// The service's voice class. Internal to the service: callers use ISpVoice.
//
// Threads: callers on any thread; one worker thread per voice takes the queued texts in order,
// has them synthesised piece by piece (on the engine's synthesis thread) and writes the samples
// to the current output, raising start and end events as each text is heard.

#include "platform/speech/AudioOutput.h"
#include "platform/speech/ISpVoice.h"
#include "platform/speech/SpeechText.h"
#include "platform/speech/VoiceToken.h"
#include "platform/system/WindowMessages.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace lusheng::sp {

class SpVoice final : public RefCounted<ISpVoice> {
  public:
    // Fails when the synthesis engine cannot start.
    static HRESULT create(SpVoice** voice);
    ~SpVoice() override;

    HRESULT SetNotifyCallbackFunction(SPNOTIFYCALLBACK* callback, WPARAM wParam,
                                      LPARAM lParam) override;
    HRESULT SetInterest(ULONGLONG eventInterest, ULONGLONG queuedInterest) override;
    HRESULT GetInterests(ULONGLONG* eventInterest, ULONGLONG* queuedInterest) override;
    HRESULT GetEvents(ULONG count, SPEVENT* events, ULONG* fetched) override;
    HRESULT SetVoice(ISpObjectToken* token) override;
    HRESULT GetVoice(ISpObjectToken** token) override;
    HRESULT Speak(const WCHAR* text, DWORD flags, ULONG* streamNumber) override;
    HRESULT Pause() override;
    HRESULT Resume() override;
    HRESULT SetRate(long rate) override;
    HRESULT GetRate(long* rate) override;
    HRESULT SetVolume(unsigned short volume) override;
    HRESULT GetVolume(unsigned short* volume) override;
    HRESULT WaitUntilDone(ULONG milliseconds) override;
    HRESULT SetOutput(ISpStreamFormat* output, BOOL allowFormatChanges) override;
    HRESULT GetOutputStream(ISpStreamFormat** output) override;

  private:
    struct Request {
        ULONG streamNumber = 0;
        std::vector<SpeechSegment> segments;
        bool done = false; // guarded by mutex_
    };

    SpVoice() = default;
    HRESULT selectDefaultVoice();
    void raiseEvent(SPEVENTENUM id, ULONG streamNumber, ULONGLONG audioOffset, WPARAM wParam = 0,
                    LPARAM lParam = 0);
    void purge();
    HRESULT setPaused(bool paused);
    bool idle() const;

    void workerLoop();
    void speakRequest(const Request& request, AudioOutput& output, const Cancellation& cancel);
    // `textOffset`: where the segment's text starts in the request's spoken text.
    HRESULT speakSegment(const SpeechSegment& segment, ULONG streamNumber, std::size_t textOffset,
                         AudioOutput& output, const Cancellation& cancel, ULONGLONG& written);

    mutable std::mutex mutex_;
    ComPtr<VoiceToken> token_;
    ComPtr<AudioOutput> output_;
    // What GetOutputStream hands out: output_ itself, or the file stream that owns it.
    ComPtr<ISpStreamFormat> outputStream_;
    std::deque<SPEVENT> events_;
    ULONGLONG eventInterest_ = 0;
    ULONGLONG queuedInterest_ = 0;
    SPNOTIFYCALLBACK* callback_ = nullptr;
    WPARAM callbackWParam_ = 0;
    LPARAM callbackLParam_ = 0;

    std::deque<std::shared_ptr<Request>> queue_;
    std::shared_ptr<Request> current_;
    ULONG nextStreamNumber_ = 1;
    bool paused_ = false;
    bool quitting_ = false;
    bool workerExited_ = false;
    std::condition_variable workAvailable_;
    // Wakes whoever waits for a text, or for everything, to be done.
    sys::PumpingCondition doneChanged_;
    std::atomic<std::uint64_t> purges_{0};
    std::atomic<long> rate_{0};
    std::atomic<unsigned short> volume_{100};
    std::thread worker_;
};

} // namespace lusheng::sp
