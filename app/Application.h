#pragma once
// What the reader sets up before its main window: the application's name, icon and fonts, and
// the delivery of the speech service's messages on the GUI thread.

namespace lusheng::app {

// Call once, after the QApplication exists and before any window is made.
void configureApplication();

} // namespace lusheng::app
