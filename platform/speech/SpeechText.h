#pragma once
// What a voice speaks: a text made of segments, each with its own prosody, and the rules that
// cut a segment into the small pieces the engine synthesises one at a time.

#include "platform/speech/SpTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lusheng::sp {

struct SpeechSegment {
    std::u16string text;
    std::optional<int> absoluteRate; // -10..10, replaces the voice's rate
    int rateChange = 0;              // added to the rate in force
    int volume = 100;                // 0..100, scales the voice's volume
    int pitch = 0;                   // -10..10
    unsigned silenceMs = 0;          // a pause instead of text
    bool spell = false;              // read character by character
};

// A plain text is one segment.
std::vector<SpeechSegment> plainSpeech(std::u16string text);

// Speech markup: <silence msec>, <rate absspeed|speed>, <volume level>, <pitch absmiddle|middle>,
// <emph>, <spell>; other tags are ignored and their text spoken. A fragment without one root
// element is accepted. Nullopt when the markup is not well-formed.
std::optional<std::vector<SpeechSegment>> parseSpeechMarkup(std::u16string_view markup);

// Whether a text (after leading white space) starts with a tag, and so is markup.
bool looksLikeMarkup(std::u16string_view text);

// The end of the piece that starts at `start`: after a sentence end when one comes within
// `maxUnits`, else after the last clause mark or space before it, else at `maxUnits` (never
// inside a surrogate pair). Always more than `start` while text is left.
std::size_t pieceEnd(std::u16string_view text, std::size_t start, std::size_t maxUnits);

// "abc" → "a b c": the engine then reads letters one by one.
std::u16string spelledOut(std::u16string_view text);

} // namespace lusheng::sp
