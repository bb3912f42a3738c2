#pragma once
// Splits a text into its lines for reading.

#include <string>
#include <string_view>
#include <vector>

namespace lusheng::app {

// Splits a UTF-8 text at every `separator`: the pieces between separators in order, an empty
// piece where two separators meet, no empty piece after a final separator. An empty text gives
// no piece; an empty separator gives the whole text as the one piece. Matches are found at
// character starts only (UTF-8 never shows a character's lead byte inside another character).
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

} // namespace lusheng::app
