#pragma once
// A stream bound to an audio file: the voice's output while it speaks into a file.
//
// Made by CoCreateInstance(CLSID_SpStream), bound once with BindToFile, then handed to
// ISpVoice::SetOutput. The voice's worker thread writes to it; the file is complete once
// Close() has been called or the last reference released, whichever comes first.

#include "platform/speech/ISpStreamFormat.h"

namespace lusheng::sp {

class ISpStream : public ISpStreamFormat {
  public:
    // Creates the file, or replaces it when it exists (mode SPFM_CREATE_ALWAYS, the only mode
    // a voice's output can use), for audio of the given format: SPDFID_WaveFormatEx with
    // 16-bit PCM mono at any rate. The file's type follows its extension (.wav, .flac,
    // .ogg/.opus, .mp3; any other: WAV). E_INVALIDARG for a bad argument or a stream already
    // bound, SPERR_UNSUPPORTED_FORMAT for another format, STG_E_ACCESSDENIED or
    // STG_E_PATHNOTFOUND when the file cannot be created.
    virtual HRESULT BindToFile(const WCHAR* path, int mode, const GUID* formatId,
                               const WAVEFORMATEX* format, ULONGLONG eventInterest) = 0;
    // Completes the file. S_OK, or STG_E_WRITEFAULT when the file could not take everything
    // written (a full disk, a size limit). Audio written afterwards is refused.
    virtual HRESULT Close() = 0;
};

} // namespace lusheng::sp
