#include "platform/system/TextEncoding.h"

#include "platform/system/TextCodec.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace lusheng::sys {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEBom = "\xFF\xFE";
constexpr std::string_view kUtf16BEBom = "\xFE\xFF";

const char* iconvName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf16LE:
        return "UTF-16LE";
    case TextEncoding::Utf16BE:
        return "UTF-16BE";
    case TextEncoding::Gb18030:
        return "GB18030";
    }
    return "UTF-8";
}

// Converts with iconv; an unreadable input sequence becomes `replacement` and conversion goes
// on one byte later. Returns nullopt only when iconv cannot do the conversion at all, or when
// `replacement` is empty and something could not be converted.
std::optional<std::string> convert(std::string_view input, const char* from, const char* to,
                                   std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(input.size() * 2);
    std::vector<char> buffer(64 * 1024);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    bool failed = false;
    while (inLeft > 0 && !failed) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ (invalid or unwritable) or EINVAL (cut short at the end).
            if (replacement.empty()) {
                failed = true;
                break;
            }
            out.append(replacement);
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    if (failed) {
        return std::nullopt;
    }
    return out;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    const std::u32string decoded = utf8ToCodePoints(bytes);
    // Valid exactly when decoding and encoding again gives the same bytes.
    return codePointsToUtf8(decoded) == bytes;
}

DecodedText decodeText(std::string_view bytes) {
    DecodedText result;
    std::string text;
    if (bytes.starts_with(kUtf8Bom)) {
        result = {{}, TextEncoding::Utf8, true};
        text = codePointsToUtf8(utf8ToCodePoints(bytes.substr(kUtf8Bom.size())));
    } else if (bytes.starts_with(kUtf16LEBom) || bytes.starts_with(kUtf16BEBom)) {
        const bool little = bytes.starts_with(kUtf16LEBom);
        result = {{}, little ? TextEncoding::Utf16LE : TextEncoding::Utf16BE, true};
        std::u16string units;
        const std::string_view body = bytes.substr(2);
        units.reserve(body.size() / 2);
        for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(body[little ? i : i + 1]);
            const auto hi = static_cast<unsigned char>(body[little ? i + 1 : i]);
            units.push_back(static_cast<char16_t>(lo | (hi << 8)));
        }
        text = utf16ToUtf8(units);
        if (body.size() % 2 != 0) {
            text += "\uFFFD";
        }
    } else if (isValidUtf8(bytes)) {
        result = {{}, TextEncoding::Utf8, false};
        text = std::string(bytes);
    } else {
        result = {{}, TextEncoding::Gb18030, false};
        text = convert(bytes, "GB18030", "UTF-8", "\uFFFD").value_or(std::string());
    }
    // The text ends at its first zero character.
    if (const auto zero = text.find('\0'); zero != std::string::npos) {
        text.resize(zero);
    }
    result.utf8 = std::move(text);
    return result;
}

std::optional<std::string> encodeText(std::string_view utf8, TextEncoding encoding,
                                      bool byteOrderMark) {
    std::string out;
    if (byteOrderMark) {
        switch (encoding) {
        case TextEncoding::Utf8:
            out = kUtf8Bom;
            break;
        case TextEncoding::Utf16LE:
            out = kUtf16LEBom;
            break;
        case TextEncoding::Utf16BE:
            out = kUtf16BEBom;
            break;
        case TextEncoding::Gb18030:
            break;
        }
    }
    if (encoding == TextEncoding::Utf8) {
        return out + std::string(utf8);
    }
    auto body = convert(utf8, "UTF-8", iconvName(encoding), {});
    if (!body) {
        return std::nullopt;
    }
    return out + *body;
}

} // namespace lusheng::sys
