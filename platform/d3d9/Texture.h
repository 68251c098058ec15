#pragma once
// A managed texture: its texels live in memory (decoded on whichever thread created it) and are
// uploaded to OpenGL by the device on the main thread before first use.
#include <vector>

#include "platform/d3d9/D3D9.h"
#include "platform/d3d9/Image.h"
#include "platform/d3d9/RefCounted.h"

class Texture final : public RefCounted<IDirect3DTexture9> {
public:
    Texture(std::vector<Image> levels, D3DFORMAT format);

    DWORD GetLevelCount() override;
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    const std::vector<Image>& Levels() const { return levels_; }

    // The OpenGL texture and the context it belongs to; main thread only.
    unsigned glName = 0;
    unsigned glContext = 0;

    // Deletion of OpenGL names, deferred to the device's thread.
    static void QueueGlDelete(unsigned context, unsigned name);
    static std::vector<unsigned> TakeGlDeletes(unsigned context);

private:
    ~Texture() override;

    std::vector<Image> levels_;
    D3DFORMAT format_;
};
