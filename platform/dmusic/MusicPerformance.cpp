#include "platform/dmusic/MusicPerformance.h"

#include <sys/stat.h>

#include <cmath>
#include <mutex>

#include "platform/dmusic/MusicSegment.h"
#include "platform/dmusic/SharedSynth.h"
#include "platform/dsound/AudioMixer.h"

namespace {

void QuietLogs()
{
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    });
}

}  // namespace

std::string MusicPerformance::SoundFontPath()
{
    return "/usr/share/sounds/sf2/default-GM.sf2";
}

MusicPerformance::~MusicPerformance()
{
    CloseDown();
}

ULONG MusicPerformance::AddRef()
{
    return ++refs_;
}

ULONG MusicPerformance::Release()
{
    ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT MusicPerformance::InitAudio(IDirectMusic** music, IDirectSound** sound, HWND, DWORD defaultPathType,
                                    DWORD performanceChannels, DWORD, DMUS_AUDIOPARAMS*)
{
    // Handing out the underlying objects is not supported; the program passes null.
    if ((music && *music) || (sound && *sound)) {
        return E_INVALIDARG;
    }
    if (synth_) {
        return DMUS_E_ALREADY_INITED;
    }
    if (performanceChannels == 0 && defaultPathType != 0) {
        return E_INVALIDARG;
    }
    struct stat st{};
    std::string font = SoundFontPath();
    if (stat(font.c_str(), &st) != 0) {
        return DMUS_E_NO_SOUNDFONT;
    }
    AudioMixer& mixer = AudioMixer::Instance();
    if (!mixer.Acquire()) {
        return DSERR_NODRIVER;
    }
    mixerHeld_ = true;
    QuietLogs();
    // Performance channels come in groups of 16, one MIDI channel set each.
    int channels = static_cast<int>(std::max<DWORD>(16, (performanceChannels + 15) / 16 * 16));
    bool reverb = defaultPathType == DMUS_APATH_SHARED_STEREOPLUSREVERB;
    lease_ = SharedSynth::Take({static_cast<double>(mixer.Rate()), std::min(channels, 256), reverb}, font.c_str());
    synth_ = lease_.synth;
    if (!synth_) {
        CloseDown();
        return DMUS_E_NO_SOUNDFONT;
    }
    mixer.AddSource(this);
    PieceChanged();
    return S_OK;
}

HRESULT MusicPerformance::PlaySegmentEx(IUnknown* source, WCHAR*, IUnknown*, DWORD flags, REFERENCE_TIME startTime,
                                        IDirectMusicSegmentState** state, IUnknown*, IUnknown*)
{
    if (!synth_) {
        return DMUS_E_NOT_INIT;
    }
    if (!source) {
        return E_POINTER;
    }
    // Only a primary segment started at once is supported.
    if (flags != 0 || startTime != 0) {
        return E_NOTIMPL;
    }
    auto* ours = dynamic_cast<MusicSegment*>(source);
    if (!ours) {
        return E_INVALIDARG;
    }
    auto sequencer = std::make_unique<MidiSequencer>(ours->File(), ours->PlaySettings(), AudioMixer::Instance().Rate());
    {
        std::lock_guard lock(AudioMixer::Instance().Mutex());
        if (sequencer_) {
            sequencer_->ReleaseNotes(*this);
        }
        sequencer_ = std::move(sequencer);
        playing_ = ours;
    }
    PieceChanged();
    if (state) {
        *state = nullptr;
    }
    return S_OK;
}

HRESULT MusicPerformance::Stop(IDirectMusicSegment8* segment, IDirectMusicSegmentState*, MUSIC_TIME, DWORD)
{
    if (!synth_) {
        return DMUS_E_NOT_INIT;
    }
    {
        std::lock_guard lock(AudioMixer::Instance().Mutex());
        if (sequencer_ && (!segment || static_cast<IDirectMusicSegment8*>(playing_) == segment)) {
            sequencer_->ReleaseNotes(*this);
            sequencer_.reset();
            playing_ = nullptr;
        }
    }
    PieceChanged();
    return S_OK;
}

HRESULT MusicPerformance::IsPlaying(IDirectMusicSegment8* segment, IDirectMusicSegmentState*)
{
    if (!synth_) {
        return DMUS_E_NOT_INIT;
    }
    std::lock_guard lock(AudioMixer::Instance().Mutex());
    bool playing = sequencer_ && !sequencer_->Finished() &&
                   (!segment || static_cast<IDirectMusicSegment8*>(playing_) == segment);
    return playing ? S_OK : S_FALSE;
}

HRESULT MusicPerformance::SetGlobalParam(REFGUID param, void* data, DWORD size)
{
    if (!data) {
        return E_POINTER;
    }
    if (!(param == GUID_PerfMasterVolume)) {
        return E_NOTIMPL;
    }
    if (size != sizeof(LONG)) {
        return E_INVALIDARG;
    }
    // Hundredths of a decibel; 0 is full volume.
    LONG centibels = std::clamp<LONG>(*static_cast<LONG*>(data), -10000, 2000);
    std::lock_guard lock(AudioMixer::Instance().Mutex());
    gain_ = static_cast<float>(std::pow(10.0, centibels / 2000.0));
    return S_OK;
}

HRESULT MusicPerformance::CloseDown()
{
    AudioMixer& mixer = AudioMixer::Instance();
    if (synth_) {
        mixer.RemoveSource(this);
        PieceChanged();
    }
    {
        std::lock_guard lock(mixer.Mutex());
        sequencer_.reset();
        playing_ = nullptr;
    }
    if (lease_.settings) {
        SharedSynth::Give(lease_);
        lease_ = {};
        synth_ = nullptr;
    }
    if (mixerHeld_) {
        mixer.ReleaseUser();
        mixerHeld_ = false;
    }
    return S_OK;
}

void MusicPerformance::PieceChanged()
{
    // A track that starts or stops is heard as soon as a sound effect would be, not after what
    // the output has queued of the old one.
    AudioMixer& mixer = AudioMixer::Instance();
    {
        std::lock_guard lock(mixer.Mutex());
        mixer.RestartStreams();
    }
    mixer.PlayStateChanged();
}

void MusicPerformance::Send(std::uint8_t status, std::uint8_t d1, std::uint8_t d2)
{
    int ch = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth_, ch, d1); break;
    case 0x90: d2 ? fluid_synth_noteon(synth_, ch, d1, d2) : fluid_synth_noteoff(synth_, ch, d1); break;
    case 0xA0: fluid_synth_key_pressure(synth_, ch, d1, d2); break;
    case 0xB0: fluid_synth_cc(synth_, ch, d1, d2); break;
    case 0xC0: fluid_synth_program_change(synth_, ch, d1); break;
    case 0xD0: fluid_synth_channel_pressure(synth_, ch, d1); break;
    case 0xE0: fluid_synth_pitch_bend(synth_, ch, d1 | (d2 << 7)); break;
    default: break;
    }
}

void MusicPerformance::Synthesize(float* out, int frames)
{
    fluid_synth_write_float(synth_, frames, out, 0, 2, out, 1, 2);
    lease_.rendered += static_cast<unsigned>(frames);
}

void MusicPerformance::MixInto(float* out, int frames, int, long long)
{
    if (!synth_) {
        return;
    }
    scratch_.resize(static_cast<std::size_t>(frames) * 2);
    if (sequencer_) {
        sequencer_->Render(*this, scratch_.data(), frames);
    } else {
        // Release tails of stopped notes and the reverb still ring out.
        Synthesize(scratch_.data(), frames);
    }
    for (int i = 0; i < frames * 2; ++i) {
        out[i] += scratch_[i] * gain_;
    }
}
