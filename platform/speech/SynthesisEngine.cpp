#include "platform/speech/SynthesisEngine.h"

#include "platform/speech/ServiceSettings.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <clocale>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <future>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace lusheng::sp {
namespace {

// Short, common and unambiguous: every working Chinese voice reads it in its own language.
constexpr const char* kChineseProbeText = "你好";

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool mbrolaInstalled() {
    const char* path = std::getenv("PATH");
    std::string_view rest(path != nullptr ? path : "/usr/bin:/bin");
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::filesystem::path dir(std::string(rest.substr(0, colon)));
        if (!dir.empty() && ::access((dir / "mbrola").c_str(), X_OK) == 0) {
            return true;
        }
        if (colon == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(colon + 1);
    }
    return false;
}

} // namespace

bool isChineseLanguage(const std::string& language) {
    const std::string primary = lowerAscii(language.substr(0, language.find('-')));
    static constexpr const char* kChinese[] = {"zh",  "cmn", "yue", "hak", "nan", "wuu",
                                               "hsn", "gan", "cjy", "cdo", "mnp"};
    return std::any_of(std::begin(kChinese), std::end(kChinese),
                       [&](const char* code) { return primary == code; });
}

bool phonemesShowOwnLanguage(const std::string& phonemes) {
    // A "(xx)" mark is espeak-ng switching to another language's rules mid-text; a voice whose
    // dictionary spells tones as digits and then reads them as English numbers does this.
    const bool switches = phonemes.find('(') != std::string::npos;
    const bool hasTones = std::any_of(phonemes.begin(), phonemes.end(),
                                      [](unsigned char c) { return std::isdigit(c) != 0; });
    return !phonemes.empty() && !switches && hasTones;
}

struct SynthesisEngine::Impl {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::packaged_task<void()>> tasks;
    bool quitting = false;
    std::thread thread;

    // Touched on the synthesis thread only.
    bool started = false;
    std::optional<std::vector<EngineVoiceInfo>> usable;

    std::atomic<bool> runningFlag{false};
    std::atomic<int> rate{0};

    Impl() : thread([this] { loop(); }) {}

    ~Impl() {
        {
            std::lock_guard lock(mutex);
            quitting = true;
        }
        wake.notify_all();
        thread.join();
    }

    void loop() {
        for (;;) {
            std::packaged_task<void()> task;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return quitting || !tasks.empty(); });
                if (tasks.empty()) {
                    break;
                }
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task();
        }
        if (started) {
            espeak_ng_Terminate();
        }
    }

    void post(std::packaged_task<void()> task) {
        {
            std::lock_guard lock(mutex);
            tasks.push_back(std::move(task));
        }
        wake.notify_one();
    }

    struct SynthesisContext {
        std::vector<std::int16_t>* samples;
        const std::function<bool()>* cancelled;
    };

    // The piece being synthesised; only the synthesis thread touches it. Chunks can come with
    // no event of their own, so the context cannot travel in the events' user data.
    static inline SynthesisContext* active = nullptr;

    static int onSamples(short* wav, int count, espeak_EVENT* /*events*/) {
        SynthesisContext* context = active;
        if (context == nullptr) {
            return 0;
        }
        if (wav != nullptr && count > 0) {
            context->samples->insert(context->samples->end(), wav, wav + count);
        }
        return (*context->cancelled && (*context->cancelled)()) ? 1 : 0;
    }

    // On the synthesis thread.
    std::vector<std::int16_t> synthesizeHere(const SynthesisJob& job) {
        std::vector<std::int16_t> samples;
        if (FAILED(startHere()) || !loadHere(job.voice)) {
            return samples;
        }
        espeak_ng_SetParameter(espeakRATE, job.wordsPerMinute, 0);
        espeak_ng_SetParameter(espeakPITCH, job.pitch, 0);
        espeak_ng_SetParameter(espeakVOLUME, 100, 0);
        SynthesisContext context{&samples, &job.cancelled};
        active = &context;
        espeak_ng_Synthesize(job.utf8.c_str(), job.utf8.size() + 1, 0, POS_CHARACTER, 0,
                             espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, nullptr);
        active = nullptr;
        return samples;
    }

    void run(const std::function<void()>& work) {
        if (std::this_thread::get_id() == thread.get_id()) {
            work();
            return;
        }
        std::packaged_task<void()> task(work);
        auto done = task.get_future();
        {
            std::lock_guard lock(mutex);
            tasks.push_back(std::move(task));
        }
        wake.notify_one();
        done.get();
    }

    // On the synthesis thread.
    HRESULT startHere() {
        if (started) {
            return S_OK;
        }
        const ServiceSettings settings = serviceSettings();
        // espeak-ng quietly falls back to its built-in directory when the given one is missing;
        // a configured directory that is not there must fail instead of speaking with other data.
        if (settings.engineDataPath && !std::filesystem::is_directory(*settings.engineDataPath)) {
            return SPERR_ENGINE_RESPONSE_INVALID;
        }
        // espeak-ng switches LC_CTYPE to a UTF-8 locale; the rest of the program must not find
        // its locale changed, and espeak-ng decodes UTF-8 itself, so the old value goes back.
        const char* previous = std::setlocale(LC_CTYPE, nullptr);
        const std::string savedLocale = previous != nullptr ? previous : "C";
        espeak_ng_InitializePath(settings.engineDataPath ? settings.engineDataPath->c_str()
                                                         : nullptr);
        espeak_ng_ERROR_CONTEXT context = nullptr;
        espeak_ng_STATUS status = espeak_ng_Initialize(&context);
        espeak_ng_ClearErrorContext(&context);
        if (status == ENS_OK) {
            status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
        }
        std::setlocale(LC_CTYPE, savedLocale.c_str());
        if (status != ENS_OK) {
            espeak_ng_Terminate();
            return SPERR_ENGINE_RESPONSE_INVALID;
        }
        started = true;
        espeak_SetSynthCallback(&Impl::onSamples);
        rate = espeak_ng_GetSampleRate();
        runningFlag = true;
        return S_OK;
    }

    bool loadHere(const std::string& identifier) {
        return espeak_ng_SetVoiceByName(identifier.c_str()) == ENS_OK;
    }

    std::string phonemesHere(const std::string& identifier, const std::string& text) {
        if (!loadHere(identifier)) {
            return {};
        }
        std::string out;
        const void* cursor = text.c_str();
        // espeak-ng translates one clause per call and moves the cursor on.
        while (cursor != nullptr) {
            const char* piece =
                espeak_TextToPhonemes(&cursor, espeakCHARS_UTF8, espeakPHONEMES_SHOW);
            if (piece == nullptr) {
                break;
            }
            if (!out.empty() && *piece != '\0') {
                out.push_back(' ');
            }
            out += piece;
        }
        return out;
    }

    static std::vector<EngineVoiceInfo> listed(const espeak_VOICE** voices, bool mbrola) {
        std::vector<EngineVoiceInfo> out;
        for (const espeak_VOICE** v = voices; v != nullptr && *v != nullptr; ++v) {
            const espeak_VOICE& voice = **v;
            EngineVoiceInfo info;
            info.identifier = voice.identifier != nullptr ? voice.identifier : "";
            info.name = voice.name != nullptr ? voice.name : info.identifier;
            // Some voice files carry trailing blanks in their names ("Cherokee ").
            info.name.erase(info.name.find_last_not_of(' ') + 1);
            // The languages field is a list of (priority byte, name, NUL), the first one wins.
            info.language = voice.languages != nullptr ? lowerAscii(voice.languages + 1) : "";
            info.gender = voice.gender;
            info.mbrola = mbrola;
            const bool isMbrola = info.identifier.starts_with("mb/");
            if (!info.identifier.empty() && isMbrola == mbrola) {
                out.push_back(std::move(info));
            }
        }
        return out;
    }

    std::vector<EngineVoiceInfo> usableHere() {
        if (usable) {
            return *usable;
        }
        std::vector<EngineVoiceInfo> candidates = listed(espeak_ListVoices(nullptr), false);
        if (mbrolaInstalled()) {
            espeak_VOICE spec{};
            spec.languages = "mb";
            auto mb = listed(espeak_ListVoices(&spec), true);
            candidates.insert(candidates.end(), mb.begin(), mb.end());
        }
        std::vector<EngineVoiceInfo> out;
        for (auto& voice : candidates) {
            if (!loadHere(voice.identifier)) {
                continue;
            }
            if (isChineseLanguage(voice.language) &&
                !phonemesShowOwnLanguage(phonemesHere(voice.identifier, kChineseProbeText))) {
                continue;
            }
            out.push_back(std::move(voice));
        }
        usable = out;
        return out;
    }
};

SynthesisEngine::SynthesisEngine() : impl_(std::make_unique<Impl>()) {}
SynthesisEngine::~SynthesisEngine() = default;

SynthesisEngine& SynthesisEngine::instance() {
    static SynthesisEngine engine;
    return engine;
}

HRESULT SynthesisEngine::start() {
    HRESULT hr = E_FAIL;
    impl_->run([&] { hr = impl_->startHere(); });
    return hr;
}

bool SynthesisEngine::running() const {
    return impl_->runningFlag;
}
int SynthesisEngine::sampleRate() const {
    return impl_->rate;
}

std::vector<EngineVoiceInfo> SynthesisEngine::usableVoices() {
    std::vector<EngineVoiceInfo> out;
    impl_->run([&] {
        if (SUCCEEDED(impl_->startHere())) {
            out = impl_->usableHere();
        }
    });
    return out;
}

bool SynthesisEngine::canLoadVoice(const std::string& identifier) {
    bool ok = false;
    impl_->run([&] { ok = SUCCEEDED(impl_->startHere()) && impl_->loadHere(identifier); });
    return ok;
}

std::string SynthesisEngine::phonemes(const std::string& identifier, const std::string& utf8Text) {
    std::string out;
    impl_->run([&] {
        if (SUCCEEDED(impl_->startHere())) {
            out = impl_->phonemesHere(identifier, utf8Text);
        }
    });
    return out;
}

std::future<std::vector<std::int16_t>> SynthesisEngine::synthesizeAsync(SynthesisJob job) {
    auto promise = std::make_shared<std::promise<std::vector<std::int16_t>>>();
    auto result = promise->get_future();
    impl_->post(std::packaged_task<void()>(
        [this, promise, job = std::move(job)] { promise->set_value(impl_->synthesizeHere(job)); }));
    return result;
}

} // namespace lusheng::sp
