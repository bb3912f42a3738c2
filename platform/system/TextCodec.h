#pragma once
// Conversions between the program's UTF-8 texts and the UTF-16 strings of the speech service.
// Malformed input never fails: every byte or unit that does not form a character becomes U+FFFD.

#include <string>
#include <string_view>
#include <vector>

namespace lusheng::sys {

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// Decodes UTF-8 into code points, replacing malformed sequences with U+FFFD. When `starts` is
// given, it receives the byte offset at which each decoded character begins.
std::u32string utf8ToCodePoints(std::string_view utf8, std::vector<std::size_t>* starts = nullptr);
std::string codePointsToUtf8(std::u32string_view codePoints);

} // namespace lusheng::sys
