#include "app/commands/ReadingCommands.h"

#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "app/commands/LineSplit.h"
#include "app/controls/ComboBox.h"
#include "app/controls/EditBox.h"
#include "app/controls/SliderBar.h"

namespace lusheng::app {

ReadingCommands::ReadingCommands(MainWindow& window, ProgramState& state)
    : QObject(&window), window_(window), state_(state) {}

void ReadingCommands::fillVoiceList() {
    ETextToSpeech* voice = state_.voice.get();
    if (voice == nullptr) {
        return;
    }
    int firstChinese = -1;
    for (const std::string& name : voice->GetVoiceNames()) {
        const QString description = QString::fromStdString(name);
        const int index = window_.voiceList->count();
        window_.voiceList->addItem(description);
        if (firstChinese < 0 &&
            (description.contains(QStringLiteral("chinese"), Qt::CaseInsensitive) ||
             description.contains(QStringLiteral("中文")))) {
            firstChinese = index;
        }
    }
    // Show the Chinese voice that reads when the user picks none. Without one the voice
    // reads with whatever the speech service gave it, and the list shows no current item.
    const auto selected = voice->GetSelectedVoiceIndex();
    const bool readsWithIt =
        firstChinese >= 0 && selected && *selected == static_cast<std::size_t>(firstChinese);
    window_.voiceList->setCurrentIndex(readsWithIt ? firstChinese : -1);
    applyRate();
}

void ReadingCommands::startReading() {
    ETextToSpeech* voice = state_.voice.get();
    if (voice == nullptr) {
        return;
    }
    // A new reading starts from the beginning and is heard at once, also after a pause.
    voice->Stop();
    voice->Resume();

    const int item = window_.voiceList->currentIndex();
    Text chosen;
    if (item >= 0 && item < window_.voiceList->count()) {
        chosen = window_.voiceList->itemText(item).toStdString();
    }
    voice->SelectVoice(chosen);
    applyRate();

    state_.lines = splitText(window_.editBox->toPlainText().toStdString(), kLineBreak);
    // The voice queues the lines and reads them one after the other.
    for (std::size_t i = 0; i < state_.lines.size(); ++i) {
        state_.position = static_cast<std::int32_t>(i);
        voice->Speak(kSpeakText, state_.lines[i]);
    }
}

void ReadingCommands::pauseReading() {
    if (state_.voice) {
        state_.voice->Pause();
    }
}

void ReadingCommands::resumeReading() {
    if (state_.voice) {
        state_.voice->Resume();
    }
}

void ReadingCommands::stopReading() {
    if (state_.voice) {
        state_.voice->Stop();
    }
}

void ReadingCommands::applyRate() {
    if (state_.voice) {
        state_.voice->SetRate(
            static_cast<int>(static_cast<double>(window_.rateSlider->value()) - kRateOffset));
    }
}

} // namespace lusheng::app
