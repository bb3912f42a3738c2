// 鹭笙语音阅读器: start-up, the message loop and the exit clean-up.

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/ProgramState.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    lusheng::app::configureApplication();

    // The voice exists before the window and outlives it.
    lusheng::app::ProgramState state;
    {
        auto window = std::make_unique<lusheng::app::MainWindow>(state);
        window->raiseCreationEvent();
        window->showCentred();
        QApplication::exec();
    }
    state.exitCleanUp();
    return 0;
}
