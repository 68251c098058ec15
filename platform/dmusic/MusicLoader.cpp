#include "platform/dmusic/MusicLoader.h"

#include <sys/stat.h>

#include <memory>
#include <vector>

#include "platform/dmusic/MidiFile.h"
#include "platform/dmusic/MusicSegment.h"
#include "platform/win32/Win32Kernel.h"

namespace {

std::string Narrow(const WCHAR* text)
{
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), n, nullptr, nullptr);
    return std::string(buffer.data());
}

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && (path[0] == '/' || path[0] == '\\');
}

}  // namespace

ULONG MusicLoader::AddRef()
{
    return ++refs_;
}

ULONG MusicLoader::Release()
{
    ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT MusicLoader::SetSearchDirectory(REFGUID objectClass, WCHAR* directory, BOOL)
{
    if (!directory) {
        return E_POINTER;
    }
    if (!(objectClass == GUID_DirectMusicAllTypes) && !(objectClass == CLSID_DirectMusicSegment)) {
        return E_INVALIDARG;
    }
    std::string dir = Narrow(directory);
    struct stat st{};
    if (dir.empty() || stat(Win32HostPath(dir.c_str()).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return DMUS_E_LOADER_BADPATH;
    }
    directory_ = dir;
    return S_OK;
}

HRESULT MusicLoader::LoadObjectFromFile(REFGUID classId, REFIID iid, WCHAR* path, void** object)
{
    if (!object || !path) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!(classId == CLSID_DirectMusicSegment)) {
        return REGDB_E_CLASSNOTREG;
    }
    std::string name = Narrow(path);
    if (name.empty()) {
        return DMUS_E_LOADER_FAILEDOPEN;
    }
    std::string full = IsAbsolute(name) || directory_.empty() ? name : directory_ + "\\" + name;
    std::string host = Win32HostPath(full.c_str());
    struct stat st{};
    if (stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return DMUS_E_LOADER_FAILEDOPEN;
    }
    if (!(iid == IID_IDirectMusicSegment8)) {
        return E_NOINTERFACE;
    }
    auto file = std::make_shared<MidiFile>();
    if (!file->LoadFile(host)) {
        return DMUS_E_UNSUPPORTED_STREAM;
    }
    *object = static_cast<IDirectMusicSegment8*>(new MusicSegment(file));
    return S_OK;
}
