#pragma once
// What the reader keeps for the whole run, made before the main window and released after it:
// the line list being read, the voice, the reading position, a byte buffer and a second text
// list. Read and written on the GUI thread only.

#include "speech/ETextToSpeech.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lusheng::app {

class ProgramState {
  public:
    // Made in this order: the line list, the voice (created at once; a voice that cannot be
    // made leaves an object without a voice), the reading position, the byte buffer (absent),
    // the second text list.
    ProgramState();
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    // The exit clean-up: the line list, then the voice (destroyed, ending any speech), then
    // the byte buffer, then the second list. Runs once; later calls do nothing.
    void exitCleanUp();
    bool cleanedUp() const { return cleanedUp_; }

    std::vector<std::string> lines;
    // Null once the exit clean-up has run.
    std::unique_ptr<ETextToSpeech> voice;
    std::int32_t position = 0;
    std::optional<std::vector<char>> bytes;
    std::vector<std::string> texts;

  private:
    bool cleanedUp_ = false;
};

} // namespace lusheng::app
