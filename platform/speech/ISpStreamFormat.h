#pragma once
// A stream of audio in a known format: the voice's outputs (the sound server, an audio file,
// memory) all are stream formats.

#include "platform/speech/ComPtr.h"

namespace lusheng::sp {

class ISpStreamFormat : public IUnknown {
  public:
    // The format identifier (SPDFID_WaveFormatEx) and a wave format header in task memory,
    // which the caller frees with CoTaskMemFree.
    virtual HRESULT GetFormat(GUID* formatId, WAVEFORMATEX** waveFormat) = 0;
};

} // namespace lusheng::sp
