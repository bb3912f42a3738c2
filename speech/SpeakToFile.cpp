// Speaking into an audio file: the voice borrows a file stream as its output for the time of
// one synchronous Speak.

#include "speech/ETextToSpeech.h"

#include "speech/VoiceState.h"

#include "platform/speech/ISpStream.h"
#include "platform/speech/SpeechService.h"

namespace lusheng {

using namespace lusheng::sp;
using namespace lusheng::voice_detail;

namespace {

// Puts the earlier output back however the rendering ends, an exception included: a voice
// left on a file stream would go on speaking into a file nobody knows of.
class OutputRestorer {
  public:
    OutputRestorer(ISpVoice* voice, ComPtr<ISpStreamFormat> earlier)
        : voice_(voice), earlier_(std::move(earlier)) {}
    ~OutputRestorer() { voice_->SetOutput(earlier_.Get(), TRUE); }
    OutputRestorer(const OutputRestorer&) = delete;
    OutputRestorer& operator=(const OutputRestorer&) = delete;

  private:
    ISpVoice* voice_;
    ComPtr<ISpStreamFormat> earlier_;
};

// Follows the rendering while it lasts, then leaves the voice's events as they were.
class ProgressScope {
  public:
    ProgressScope(ETextToSpeech::VoiceState& state, FileRendering* rendering, std::size_t total)
        : state_(state), active_(rendering != nullptr && rendering->progress) {
        if (!active_) {
            return;
        }
        {
            std::lock_guard lock(state_.mutex);
            state_.progress = rendering->progress;
            state_.progressTotal = total;
            state_.progressStopped = false;
        }
        const ULONGLONG interest = kSpeechInterest | SPFEI(SPEI_SENTENCE_BOUNDARY);
        state_.voice->SetInterest(interest, interest);
    }
    ~ProgressScope() {
        if (!active_) {
            return;
        }
        state_.voice->SetInterest(kSpeechInterest, kSpeechInterest);
        std::lock_guard lock(state_.mutex);
        state_.progress = nullptr;
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    bool stopped() const {
        std::lock_guard lock(state_.mutex);
        return state_.progressStopped;
    }

  private:
    ETextToSpeech::VoiceState& state_;
    bool active_;
};

} // namespace

bool ETextToSpeech::SpeakToFile(int mode, const Text& text, const Text& fileName,
                                FileRendering* rendering) {
    if (!hasVoice(state_) || mode < kSpeakText || mode > kSpeakNothing || !fileName) {
        return false;
    }
    ISpVoice* voice = state_->voice.Get();

    // The file takes the format of the output the voice speaks to now.
    ComPtr<ISpStreamFormat> earlier;
    GUID formatId = GUID_NULL;
    CoTaskMemPtr<WAVEFORMATEX> format;
    if (SUCCEEDED(voice->GetOutputStream(earlier.ReleaseAndGetAddressOf())) && earlier) {
        earlier->GetFormat(&formatId, format.put());
    }

    // The whole path, however long: a cut-off path could name another file.
    const std::u16string path = sys::utf8ToUtf16(*fileName);
    ComPtr<ISpStream> stream;
    if (FAILED(CoCreateInstance(CLSID_SpStream, nullptr, CLSCTX_ALL,
                                stream.ReleaseAndGetAddressOf())) ||
        FAILED(stream->BindToFile(path.c_str(), SPFM_CREATE_ALWAYS, &formatId, format.get(),
                                  SPFEI_ALL_EVENTS))) {
        return false;
    }

    bool stopped = false;
    {
        voice->SetOutput(stream.Get(), TRUE);
        const OutputRestorer restorer(voice, earlier);
        if (const auto flags = flagsOfMode(mode)) {
            const auto converted = forVoice(text);
            const ProgressScope following(*state_, rendering,
                                          mode == kSpeakFile || !converted ? 0 : converted->size());
            voice->Speak(converted ? converted->c_str() : nullptr, *flags, nullptr);
            stopped = following.stopped();
        }
    }
    // The file is complete before the call returns, not whenever the last reference goes.
    const bool complete = SUCCEEDED(stream->Close());
    if (rendering != nullptr) {
        rendering->cancelled = stopped;
        rendering->complete = complete;
        if (rendering->progress && !stopped) {
            rendering->progress(1.0);
        }
    }
    return true;
}

} // namespace lusheng
