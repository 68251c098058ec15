#pragma once

// Entries of the program's string table: the caption and class name, then the error messages.
enum class ErrorStringId : int {
    AppTitle = 101,
    WindowClassName = 102,
    InitInstanceFailed = 103,
    GameInitFailed = 104,
    Init3DFailed = 105,
    MusicLoaderFailed = 106,
    MusicPerformanceFailed = 107,
    PerformanceInitFailed = 108,
    MidiLoadFailed = 109,
    MusicUnloadFailed = 110,
    MusicObjectFailed = 111,
    DeviceResetFailed = 112,
    DeviceObjectsFailed = 113,
    ModeChangeResetFailed = 114,
    ModeChangeObjectsFailed = 115,
    DeviceCapsFailed = 116,
    DisplayModeFailed = 117,
    BackBufferFormatFailed = 118,
    DepthStencilFormatFailed = 119,
    RenderTextureFormatFailed = 120,
    MultiSampleFailed = 121,
    DisplayModeEnumFailed = 122,
    DirectXAdvice = 123,
    FileLoadFailed = 124,
    EnemyMapLoadFailed = 125,
    Timeout = 126,
};

// Puts the string table into the program's resources (done once, before WinMain).
void RegisterProgramStrings();
