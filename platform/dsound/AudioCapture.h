#pragma once
// Seams for tests and measurements: what the mixer produced, and a pull mode without a device.
#include <functional>

// Every block the mixer renders is handed to the hook (interleaved stereo float, on the thread
// that renders). An empty function removes it.
using AudioCaptureHook = std::function<void(const float* samples, int frames)>;
void AudioSetCaptureHook(AudioCaptureHook hook);

// In pull mode (set before the first device is created) no SDL device is opened and the mix
// advances only when AudioPull is called, so tests read exact samples.
void AudioSetPullMode(bool pull);
void AudioPull(float* out, int frames);
int AudioOutputRate();
// The device's block size in frames (the mixer's own output latency).
int AudioBlockFrames();
// Makes the open device count as lost, as when the output disappears; Restore reopens it.
void AudioSimulateDeviceLoss();
