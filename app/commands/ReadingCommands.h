#pragma once
// Reading the edit box aloud: the voice list, start, pause, resume and stop, and the rate.
// Runs on the GUI thread; every command returns at once while the voice reads on its own
// threads.

#include <QObject>

namespace lusheng::app {

class MainWindow;
class ProgramState;

class ReadingCommands : public QObject {
    Q_OBJECT
  public:
    // The rate on the voice's scale is the slider position less this.
    static constexpr double kRateOffset = 10.0;
    // The edit box separates its lines with this.
    static constexpr const char* kLineBreak = "\n";

    ReadingCommands(MainWindow& window, ProgramState& state);

    // At the window's creation: the installed voices in catalogue order, with the voice the
    // reader would use by default as the current item, and the slider's rate applied.
    void fillVoiceList();
    // Reads the edit box's text from the beginning in the voice chosen in the list (with none
    // chosen, the default voice), at the slider's rate. Whatever was being read, or paused,
    // is discarded first.
    void startReading();
    void pauseReading();
    void resumeReading();
    void stopReading();
    // Gives the voice the rate of the slider's position.
    void applyRate();

  private:
    MainWindow& window_;
    ProgramState& state_;
};

} // namespace lusheng::app
