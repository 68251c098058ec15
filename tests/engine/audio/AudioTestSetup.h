#pragma once
#include <string>
#include <vector>

// What the audio tests share: the mixer in pull mode (no device; the test reads the mix) and a
// scratch folder for fixture files.
class AudioTestSetup {
public:
    AudioTestSetup();
    ~AudioTestSetup();

    const std::string& Folder() const { return folder_; }
    std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

    // The next frames of the mix, interleaved stereo.
    static std::vector<float> Pull(int frames);
    static float Peak(const std::vector<float>& mix, int firstFrame, int frames);

private:
    std::string folder_;
};
