#include "tests/engine/audio/AudioTestSetup.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/dsound/AudioCapture.h"

AudioTestSetup::AudioTestSetup()
{
    AudioSetPullMode(true);
    char pattern[] = "/tmp/audiotest.XXXXXX";
    folder_ = mkdtemp(pattern);
}

AudioTestSetup::~AudioTestSetup()
{
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

std::vector<float> AudioTestSetup::Pull(int frames)
{
    std::vector<float> mix(static_cast<std::size_t>(frames) * 2);
    AudioPull(mix.data(), frames);
    return mix;
}

float AudioTestSetup::Peak(const std::vector<float>& mix, int firstFrame, int frames)
{
    float peak = 0;
    for (int i = firstFrame * 2; i < (firstFrame + frames) * 2 && i < static_cast<int>(mix.size()); ++i) {
        peak = std::max(peak, std::fabs(mix[i]));
    }
    return peak;
}
