#include "platform/d3d9/Texture.h"

#include <map>
#include <mutex>

namespace {

std::mutex& DeleteMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::map<unsigned, std::vector<unsigned>>& PendingDeletes()
{
    static std::map<unsigned, std::vector<unsigned>> pending;
    return pending;
}

}  // namespace

Texture::Texture(std::vector<Image> levels, D3DFORMAT format) : levels_(std::move(levels)), format_(format) {}

Texture::~Texture()
{
    if (glName) {
        QueueGlDelete(glContext, glName);
    }
}

DWORD Texture::GetLevelCount()
{
    return static_cast<DWORD>(levels_.size());
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc)
{
    if (!desc || level >= levels_.size()) {
        return D3DERR_INVALIDCALL;
    }
    *desc = D3DSURFACE_DESC{format_, D3DRTYPE_TEXTURE, 0, D3DPOOL_MANAGED, D3DMULTISAMPLE_NONE, 0,
                            levels_[level].width, levels_[level].height};
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD)
{
    if (!locked || level >= levels_.size()) {
        return D3DERR_INVALIDCALL;
    }
    Image& image = levels_[level];
    std::size_t offset = rect ? static_cast<std::size_t>(rect->top) * image.width + rect->left : 0;
    locked->Pitch = static_cast<int>(image.width * 4);
    locked->pBits = image.texels.data() + offset;
    return D3D_OK;
}

// New texels reach OpenGL as a fresh upload at the next use.
HRESULT Texture::UnlockRect(UINT level)
{
    if (level >= levels_.size()) {
        return D3DERR_INVALIDCALL;
    }
    if (glName) {
        QueueGlDelete(glContext, glName);
        glName = 0;
    }
    return D3D_OK;
}

void Texture::QueueGlDelete(unsigned context, unsigned name)
{
    std::lock_guard lock(DeleteMutex());
    PendingDeletes()[context].push_back(name);
}

std::vector<unsigned> Texture::TakeGlDeletes(unsigned context)
{
    std::lock_guard lock(DeleteMutex());
    auto found = PendingDeletes().find(context);
    if (found == PendingDeletes().end()) {
        return {};
    }
    std::vector<unsigned> names = std::move(found->second);
    PendingDeletes().erase(found);
    return names;
}
