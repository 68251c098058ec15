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
