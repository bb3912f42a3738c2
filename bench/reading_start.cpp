// Start reading a 2.5 MB book from the window: how long the command keeps the GUI thread, and
// how soon the first sound follows, against the voice object speaking the same text directly in
// the same run. Runs offscreen on the private sound server (tools/run-bench.sh starts one).

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/ProgramState.h"
#include "app/commands/ReadingCommands.h"
#include "app/controls/EditBox.h"

#include "tests/support/MonitorRecorder.h"
#include "tests/support/VoiceFixture.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace lusheng;
using namespace std::chrono_literals;
using test::Clock;

namespace {

// A novel's shape: paragraphs of a few sentences, one per line.
QString book(qsizetype bytes) {
    const QString paragraph =
        QStringLiteral("春天来了，花都开了，小鸟在树上唱歌。我们一起去公园散步吧。"
                       "河边的柳树发芽了，风一吹，细细的枝条轻轻地摆动。\n");
    QString text;
    while (text.toUtf8().size() < bytes) {
        text += paragraph.repeated(64);
    }
    return text;
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double firstSound(test::MonitorRecorder& recorder, Clock::time_point start) {
    recorder.waitForSound(start, 10s);
    for (const auto& block : recorder.blocks()) {
        if (block.time >= start && block.rms > test::MonitorRecorder::kSoundThreshold) {
            return ms(block.time - start);
        }
    }
    return -1;
}

void settle(test::MonitorRecorder& recorder) {
    recorder.waitForSilence(Clock::now(), 300ms, 5s);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::configureApplication();
    test::VoiceDirectory voices(
        {{.file = "1", .description = "中文", .engineVoice = "sit/cmn-Latn-pinyin"}});
    test::useOnlyVoiceDirectories({voices.path()});
    test::MonitorRecorder recorder;

    app::ProgramState state;
    app::MainWindow window(state);
    window.raiseCreationEvent();
    window.showCentred();
    const QString text = book(2'500'000);
    const auto loadStart = Clock::now();
    window.editBox->setPlainText(text);
    const double load = ms(Clock::now() - loadStart);
    const std::string utf8 = text.toStdString();

    constexpr int kRuns = 5;
    std::vector<double> command, oursFirst, directFirst;
    for (int i = 0; i < kRuns; ++i) {
        settle(recorder);
        const auto start = Clock::now();
        window.reading().startReading();
        command.push_back(ms(Clock::now() - start));
        oursFirst.push_back(firstSound(recorder, start));
        window.reading().stopReading();
        QApplication::processEvents();

        settle(recorder);
        const auto direct = Clock::now();
        state.voice->Speak(kSpeakText, utf8);
        directFirst.push_back(firstSound(recorder, direct));
        state.voice->Stop();
    }
    std::printf("2.5 MB text (%zu bytes, %zu lines), median of %d runs, milliseconds\n",
                utf8.size(), state.lines.size(), kRuns);
    std::printf("  edit box takes the text (setPlainText)        %8.1f\n", load);
    std::printf("  start reading returns                         %8.1f\n", median(command));
    std::printf("  start reading to first sound                  %8.1f\n", median(oursFirst));
    std::printf("  reference: one Speak of the text, first sound %8.1f\n", median(directFirst));
    std::printf("  ratio first sound / reference                 %8.2f\n",
                median(oursFirst) / median(directFirst));
    return 0;
}
