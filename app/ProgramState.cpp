#include "app/ProgramState.h"

namespace lusheng::app {

ProgramState::ProgramState() : voice(std::make_unique<ETextToSpeech>()) {
    voice->Create();
}

ProgramState::~ProgramState() {
    exitCleanUp();
}

void ProgramState::exitCleanUp() {
    if (cleanedUp_) {
        return;
    }
    cleanedUp_ = true;
    lines.clear();
    lines.shrink_to_fit();
    if (voice) {
        voice->Destroy();
        voice.reset();
    }
    bytes.reset();
    texts.clear();
    texts.shrink_to_fit();
}

} // namespace lusheng::app
