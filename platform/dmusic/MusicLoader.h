#pragma once
// The loader: a search directory and Standard MIDI Files loaded from it as segments.
#include <atomic>
#include <string>

#include "platform/dmusic/DMusic.h"

class MusicLoader : public IDirectMusicLoader8 {
public:
    MusicLoader() = default;
    virtual ~MusicLoader() = default;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT SetSearchDirectory(REFGUID objectClass, WCHAR* directory, BOOL clear) override;
    HRESULT LoadObjectFromFile(REFGUID classId, REFIID iid, WCHAR* path, void** object) override;

private:
    std::atomic<ULONG> refs_{1};
    std::string directory_;  // in the program's form (backslashes allowed)
};
