#pragma once
// Recognising and converting the encodings text documents come in: UTF-8 (with or without a
// byte-order mark), UTF-16 LE/BE with a byte-order mark, and otherwise GB18030 (a superset of
// GBK). Conversions go through the C library's iconv.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lusheng::sys {

enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Gb18030 };

struct DecodedText {
    std::string utf8; // up to the first zero character
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;
};

// Never fails: bytes the recognised encoding cannot read become U+FFFD.
DecodedText decodeText(std::string_view bytes);

// The text in that encoding, with a byte-order mark when asked. Nullopt if a character cannot
// be written in it (never for the encodings here, which cover all of Unicode).
std::optional<std::string> encodeText(std::string_view utf8, TextEncoding encoding,
                                      bool byteOrderMark);

bool isValidUtf8(std::string_view bytes);

} // namespace lusheng::sys
