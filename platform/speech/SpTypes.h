#pragma once
// Status codes, constants and plain records of the speech service. Values and names are those
// of the speech interface the program was designed against, so that callers read the same.

#include <cstdint>

namespace lusheng::sp {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using ULONGLONG = std::uint64_t;
using BOOL = int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using WCHAR = char16_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

constexpr HRESULT hresultOf(std::uint32_t code) {
    return static_cast<HRESULT>(code);
}
constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = hresultOf(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = hresultOf(0x80004002);
inline constexpr HRESULT E_POINTER = hresultOf(0x80004003);
inline constexpr HRESULT E_FAIL = hresultOf(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = hresultOf(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = hresultOf(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = hresultOf(0x80070057);
inline constexpr HRESULT E_ACCESSDENIED = hresultOf(0x80070005);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = hresultOf(0x80040110);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = hresultOf(0x80040154);
inline constexpr HRESULT CO_E_NOTINITIALIZED = hresultOf(0x800401F0);
inline constexpr HRESULT SPERR_UNINITIALIZED = hresultOf(0x80045001);
inline constexpr HRESULT SPERR_ALREADY_INITIALIZED = hresultOf(0x80045002);
inline constexpr HRESULT SPERR_UNSUPPORTED_FORMAT = hresultOf(0x80045003);
inline constexpr HRESULT SPERR_INVALID_FLAGS = hresultOf(0x80045004);
inline constexpr HRESULT SPERR_DEVICE_BUSY = hresultOf(0x80045006);
inline constexpr HRESULT SPERR_NOT_FOUND = hresultOf(0x8004503A);
inline constexpr HRESULT STG_E_FILENOTFOUND = hresultOf(0x80030002);
inline constexpr HRESULT STG_E_PATHNOTFOUND = hresultOf(0x80030003);
inline constexpr HRESULT STG_E_ACCESSDENIED = hresultOf(0x80030005);
inline constexpr HRESULT STG_E_WRITEFAULT = hresultOf(0x8003001D);
inline constexpr HRESULT SPERR_INVALID_MARKUP = E_INVALIDARG;
inline constexpr HRESULT SPERR_AUDIO_STOPPED = hresultOf(0x80045065);
inline constexpr HRESULT SPERR_NO_MORE_ITEMS = hresultOf(0x80045039);
// A failure in the text-to-speech engine itself (it could not start, or could not load a voice).
inline constexpr HRESULT SPERR_ENGINE_RESPONSE_INVALID = hresultOf(0x8004503C);

// Object creation contexts.
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_ALL =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

// Speak flags.
inline constexpr DWORD SPF_DEFAULT = 0;
inline constexpr DWORD SPF_ASYNC = 1;
inline constexpr DWORD SPF_PURGEBEFORESPEAK = 2;
inline constexpr DWORD SPF_IS_FILENAME = 4;
inline constexpr DWORD SPF_IS_XML = 8;
inline constexpr DWORD SPF_IS_NOT_XML = 16;

inline constexpr ULONG INFINITE = 0xFFFFFFFF;

// File stream modes.
inline constexpr int SPFM_OPEN_READONLY = 0;
inline constexpr int SPFM_OPEN_READWRITE = 1;
inline constexpr int SPFM_CREATE = 2;
inline constexpr int SPFM_CREATE_ALWAYS = 3;

// Event identifiers and interest masks.
enum SPEVENTENUM : std::uint16_t {
    SPEI_UNDEFINED = 0,
    SPEI_START_INPUT_STREAM = 1,
    SPEI_END_INPUT_STREAM = 2,
    SPEI_VOICE_CHANGE = 3,
    SPEI_TTS_BOOKMARK = 4,
    SPEI_WORD_BOUNDARY = 5,
    SPEI_PHONEME = 6,
    SPEI_SENTENCE_BOUNDARY = 7,
    SPEI_VISEME = 8,
    SPEI_TTS_AUDIO_LEVEL = 9,
};
constexpr ULONGLONG SPFEI(unsigned id) {
    return ULONGLONG{1} << id;
}
// Reserved bits every interest mask must carry, so a stray value is caught.
inline constexpr ULONGLONG SPFEI_FLAGCHECK = SPFEI(30) | SPFEI(33);
inline constexpr ULONGLONG SPFEI_ALL_TTS_EVENTS = 0x000000000000FFFEULL | SPFEI_FLAGCHECK;
inline constexpr ULONGLONG SPFEI_ALL_EVENTS = 0xEFFFFFFFFFFFFFFFULL;

// A 128-bit identifier, as the service names its classes and formats.
struct GUID {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
    friend bool operator==(const GUID&, const GUID&) = default;
};
using CLSID = GUID;

inline constexpr GUID GUID_NULL{};
// The stream format identifier of audio described by a wave format header.
inline constexpr GUID SPDFID_WaveFormatEx{
    0xC31ADBAE, 0x527F, 0x4FF5, {0xA2, 0x30, 0xF6, 0x2B, 0xB6, 0x1F, 0xF7, 0x0C}};

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
    std::uint16_t wFormatTag = WAVE_FORMAT_PCM;
    std::uint16_t nChannels = 1;
    std::uint32_t nSamplesPerSec = 22050;
    std::uint32_t nAvgBytesPerSec = 44100;
    std::uint16_t nBlockAlign = 2;
    std::uint16_t wBitsPerSample = 16;
    std::uint16_t cbSize = 0;
};

enum SPEVENTLPARAMTYPE : std::uint16_t {
    SPET_LPARAM_IS_UNDEFINED = 0,
    SPET_LPARAM_IS_TOKEN = 1,
    SPET_LPARAM_IS_OBJECT = 2,
    SPET_LPARAM_IS_POINTER = 3,
    SPET_LPARAM_IS_STRING = 4,
};

struct SPEVENT {
    std::uint16_t eEventId = SPEI_UNDEFINED; // the identifier is the record's first 16 bits
    std::uint16_t elParamType = SPET_LPARAM_IS_UNDEFINED;
    ULONG ulStreamNum = 0;
    ULONGLONG ullAudioStreamOffset = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

using SPNOTIFYCALLBACK = void(WPARAM wParam, LPARAM lParam);

} // namespace lusheng::sp
