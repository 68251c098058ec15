// The sound-effect reader (RIFF WAVE through the mmio calls) into a real sound buffer.
#include <cstdlib>

#include "engine/Application.h"
#include "engine/SoundEffectBank.h"
#include "platform/dsound/AudioCapture.h"
#include "platform/win32/Win32.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SoundEffectBank* bank = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        AudioSetPullMode(true);  // the mix is pulled by the caller, not played
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "FuzzWave";
        RegisterClassA(&wc);
        g_mainWindow = CreateWindowExA(0, "FuzzWave", "wave", WS_CAPTION, 0, 0, 64, 64, nullptr, nullptr, nullptr,
                                       nullptr);
        auto* b = new SoundEffectBank;
        FuzzCheck(b->Init(), "the dummy sound device opens");
        return b;
    }();
    std::string path = WriteFuzzInput("wav/effect.wav", data, size);
    bank->LoadWave(static_cast<SoundEffectId>(0), path.c_str());
    return 0;
}
