#include "platform/speech/SpeechText.h"

#include "platform/system/TextCodec.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace lusheng::sp {
namespace {

bool isSentenceEnd(char16_t c) {
    return c == u'。' || c == u'！' || c == u'？' || c == u'!' || c == u'?' || c == u'；' ||
           c == u';' || c == u'\n' || c == u'…';
}

bool isClauseMark(char16_t c) {
    return c == u'，' || c == u',' || c == u'、' || c == u'：' || c == u':' || c == u' ' ||
           c == u'\t' || c == u'　';
}

bool isClosingQuote(char16_t c) {
    return c == u'”' || c == u'’' || c == u'」' || c == u'』' || c == u'）' || c == u')' ||
           c == u'"';
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<int> intAttribute(const pugi::xml_node& node, const char* name) {
    for (const auto& attribute : node.attributes()) {
        if (lower(attribute.name()) == name) {
            const std::string_view value(attribute.value());
            int out = 0;
            const auto* begin = value.data() + (value.starts_with('+') ? 1 : 0);
            const auto [ptr, ec] = std::from_chars(begin, value.data() + value.size(), out);
            if (ec == std::errc()) {
                return out;
            }
        }
    }
    return std::nullopt;
}

int clampRate(int value) {
    return std::clamp(value, -10, 10);
}

void walk(const pugi::xml_node& parent, const SpeechSegment& style,
          std::vector<SpeechSegment>& out) {
    for (const auto& node : parent.children()) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            SpeechSegment segment = style;
            segment.text = sys::utf8ToUtf16(node.value());
            if (!segment.text.empty()) {
                out.push_back(std::move(segment));
            }
            continue;
        }
        if (node.type() != pugi::node_element) {
            continue;
        }
        const std::string tag = lower(node.name());
        SpeechSegment inner = style;
        inner.text.clear();
        if (tag == "silence") {
            SpeechSegment pause;
            pause.silenceMs =
                static_cast<unsigned>(std::max(0, intAttribute(node, "msec").value_or(0)));
            out.push_back(pause);
        } else if (tag == "rate") {
            if (auto abs = intAttribute(node, "absspeed")) {
                inner.absoluteRate = clampRate(*abs);
                inner.rateChange = 0;
            }
            if (auto rel = intAttribute(node, "speed")) {
                inner.rateChange += *rel;
            }
        } else if (tag == "volume") {
            if (auto level = intAttribute(node, "level")) {
                inner.volume = style.volume * std::clamp(*level, 0, 100) / 100;
            }
        } else if (tag == "pitch") {
            if (auto abs = intAttribute(node, "absmiddle")) {
                inner.pitch = std::clamp(*abs, -10, 10);
            }
            if (auto rel = intAttribute(node, "middle")) {
                inner.pitch = std::clamp(inner.pitch + *rel, -10, 10);
            }
        } else if (tag == "emph") {
            // Emphasis: a little higher and a little slower.
            inner.pitch = std::clamp(inner.pitch + 3, -10, 10);
            inner.rateChange -= 1;
        } else if (tag == "spell") {
            inner.spell = true;
        }
        walk(node, inner, out);
    }
}

} // namespace

std::vector<SpeechSegment> plainSpeech(std::u16string text) {
    std::vector<SpeechSegment> out(1);
    out[0].text = std::move(text);
    return out;
}

std::optional<std::vector<SpeechSegment>> parseSpeechMarkup(std::u16string_view markup) {
    const std::string utf8 = sys::utf16ToUtf8(markup);
    pugi::xml_document document;
    const auto result = document.load_buffer(utf8.data(), utf8.size(),
                                             pugi::parse_default | pugi::parse_fragment |
                                                 pugi::parse_ws_pcdata_single,
                                             pugi::encoding_utf8);
    if (!result) {
        return std::nullopt;
    }
    std::vector<SpeechSegment> out;
    walk(document, SpeechSegment{}, out);
    return out;
}

bool looksLikeMarkup(std::u16string_view text) {
    const auto first = std::find_if(text.begin(), text.end(), [](char16_t c) {
        return c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != u'\uFEFF';
    });
    // "<<书名>>" is a book title, not a tag: a tag opens with a name, "?", "!" or "/".
    if (first == text.end() || *first != u'<' || first + 1 == text.end()) {
        return false;
    }
    const char16_t next = *(first + 1);
    return (next >= u'a' && next <= u'z') || (next >= u'A' && next <= u'Z') || next == u'?' ||
           next == u'!' || next == u'/' || next == u'_';
}

std::size_t pieceEnd(std::u16string_view text, std::size_t start, std::size_t maxUnits) {
    const std::size_t limit = std::min(text.size(), start + std::max<std::size_t>(maxUnits, 2));
    std::size_t lastClause = 0;
    for (std::size_t i = start; i < limit; ++i) {
        const char16_t c = text[i];
        const bool fullStop =
            c == u'.' && (i + 1 >= text.size() || text[i + 1] == u' ' || text[i + 1] == u'\n');
        if (isSentenceEnd(c) || fullStop) {
            std::size_t end = i + 1;
            while (end < text.size() && (isClosingQuote(text[end]) || isSentenceEnd(text[end]))) {
                ++end;
            }
            return end;
        }
        if (isClauseMark(c)) {
            lastClause = i + 1;
        }
    }
    if (limit == text.size()) {
        return limit;
    }
    if (lastClause > start) {
        return lastClause;
    }
    // Never split a surrogate pair.
    std::size_t end = limit;
    if (end > start + 1 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) {
        --end;
    }
    return end;
}

std::u16string spelledOut(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lowSurrogate = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        if (!out.empty() && !lowSurrogate) {
            out.push_back(u' ');
        }
        out.push_back(text[i]);
    }
    return out;
}

} // namespace lusheng::sp
