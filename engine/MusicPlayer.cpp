#include "engine/MusicPlayer.h"

#include "engine/Application.h"
#include "engine/ErrorReporter.h"

namespace {

void Report(ErrorStringId id)
{
    if (g_errorReporter) {
        g_errorReporter->Report(id, 0);
    }
}

template <typename T>
void ReleaseAndClear(T*& object)
{
    if (object) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace

MusicPlayer::~MusicPlayer()
{
    Stop();
}

bool MusicPlayer::Init()
{
    if (FAILED(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                                reinterpret_cast<void**>(&loader)))) {
        loader = nullptr;
        Report(ErrorStringId::MusicLoaderFailed);
        return false;
    }
    if (FAILED(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                                reinterpret_cast<void**>(&performance)))) {
        performance = nullptr;
        ReleaseAndClear(loader);
        Report(ErrorStringId::MusicPerformanceFailed);
        return false;
    }
    if (FAILED(performance->InitAudio(nullptr, nullptr, g_mainWindow, DMUS_APATH_SHARED_STEREOPLUSREVERB, 64,
                                      DMUS_AUDIOF_ALL, nullptr))) {
        ReleaseAndClear(performance);
        ReleaseAndClear(loader);
        Report(ErrorStringId::PerformanceInitFailed);
        return false;
    }
    return true;
}

bool MusicPlayer::Load(const char* path)
{
    if (!segment && !performance && !loader && !Init()) {
        return false;
    }
    if (!performance || !loader) {
        return false;
    }
    // A segment still held from an earlier load is replaced, not leaked.
    ReleaseAndClear(segment);

    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    WCHAR wideDirectory[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, directory, -1, wideDirectory, MAX_PATH);
    loader->SetSearchDirectory(GUID_DirectMusicAllTypes, wideDirectory, FALSE);

    WCHAR widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    if (FAILED(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, widePath,
                                          reinterpret_cast<void**>(&segment)))) {
        segment = nullptr;
        performance->CloseDown();
        ReleaseAndClear(performance);
        ReleaseAndClear(loader);
        Report(ErrorStringId::MidiLoadFailed);
        return false;
    }
    return true;
}

HRESULT MusicPlayer::Play(MUSIC_TIME start, MUSIC_TIME loopStart, MUSIC_TIME loopEnd, LONG volume,
                          std::uint8_t loopForever)
{
    if (!segment || !performance) {
        return DMUS_E_NOT_INIT;
    }
    segment->SetStartPoint(start);
    segment->SetLoopPoints(loopStart, loopEnd);
    performance->SetGlobalParam(GUID_PerfMasterVolume, &volume, sizeof(volume));
    if (loopForever) {
        segment->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
    }
    segment->Download(performance);
    return performance->PlaySegmentEx(segment, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr);
}

void MusicPlayer::Stop()
{
    if (!performance) {
        return;
    }
    if (segment && performance->IsPlaying(segment, nullptr) == S_OK) {
        performance->Stop(nullptr, nullptr, 0, 0);
        if (FAILED(segment->Unload(performance))) {
            Report(ErrorStringId::MusicUnloadFailed);
        }
    }
    performance->CloseDown();
    ReleaseAll();
}

void MusicPlayer::ReleaseAll()
{
    ReleaseAndClear(segment);
    ReleaseAndClear(performance);
    ReleaseAndClear(loader);
}
