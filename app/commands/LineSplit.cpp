#include "app/commands/LineSplit.h"

namespace lusheng::app {

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (std::size_t found = text.find(separator); found != std::string_view::npos;
         found = text.find(separator, start)) {
        pieces.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    if (start < text.size()) {
        pieces.emplace_back(text.substr(start));
    }
    return pieces;
}

} // namespace lusheng::app
