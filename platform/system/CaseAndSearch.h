#pragma once
// Character-wise lower-casing and searching of UTF-8 texts, independent of the process locale
// (the speech engine changes LC_CTYPE when it starts, so nothing here may rely on it).

#include <cstddef>
#include <string>
#include <string_view>

namespace lusheng::sys {

// Lower-cases every character on its own (Unicode simple case mapping): "CHINESE" and
// full-width "ＣＨＩＮＥＳＥ" become "chinese" and "ｃｈｉｎｅｓｅ"; other characters stay.
std::string toLowerCharwise(std::string_view utf8);

// Byte offset of the first occurrence of `needle` in `haystack` that begins at a character
// start, or npos. An empty needle is found at 0.
std::size_t findAtCharacterStart(std::string_view haystack, std::string_view needle);

} // namespace lusheng::sys
