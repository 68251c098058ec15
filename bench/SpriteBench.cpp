// Sprites submitted per millisecond, and the CPU time of a whole frame of 1,000 sprites, on the
// OpenGL device (a private X server is started when DISPLAY is unset).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/Application.h"
#include "engine/ErrorStringId.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "tests/support/XvfbDisplay.h"

namespace {

GraphicsEngine* g_engine = nullptr;

// A 64 x 64 sprite sheet as a 24-bit bitmap.
void WriteSheet(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out.put(static_cast<char>((v >> (8 * i)) & 255));
        }
    };
    out.write("BM", 2);
    put(54 + 64 * 64 * 3, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(64, 4);
    put(64, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(64 * 64 * 3, 4);
    put(0, 16);
    for (int i = 0; i < 64 * 64; ++i) {
        put(static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF, 3);
    }
}

// Mixed: every third sprite additive and every fifth turned, as a busy game frame has them.
// Plain: the same sprite state throughout.
void DrawSprites(int count, bool mixed)
{
    for (int i = 0; i < count; ++i) {
        int x = (i * 37) % 600, y = (i * 53) % 440;
        if (mixed && i % 3 == 0) {
            g_engine->SetBlend(static_cast<int>(SpriteBlendMode::Additive), 0xC0FFFFFFu);
        }
        if (mixed && i % 5 == 0) {
            g_engine->SetRotation(static_cast<float>(i % 360), 16.0f, 16.0f);
        }
        g_engine->DrawSprite(x, y, 0, (i % 2) * 32, 0, 32, 32);
    }
}

// A whole frame as Render draws it: clear, scene, 1,000 sprites, present. The CPU time is the
// main thread's; sprites_per_ms is the submission rate that follows from it.
void FrameOf1000Sprites(benchmark::State& state)
{
    const bool mixed = state.range(0) == 1;
    IDirect3DDevice9* device = g_engine->GetDevice();
    for (auto _ : state) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        g_engine->ResetDrawState();
        DrawSprites(1000, mixed);
        device->EndScene();
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    state.SetLabel(mixed ? "mixed states" : "one state");
    state.counters["sprites_per_ms"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1000.0 / 1000.0, benchmark::Counter::kIsRate);
}

BENCHMARK(FrameOf1000Sprites)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!XvfbDisplay::Ensure()) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("sprite_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    WriteSheet("sheet.bmp");

    RegisterProgramStrings();
    LoadStringA(nullptr, 101, g_appTitle, 256);
    LoadStringA(nullptr, 102, g_windowClassName, 256);
    RegisterMainWindowClass(nullptr);
    if (!InitInstance(nullptr, SW_SHOWNORMAL)) {
        return 1;
    }
    g_engine = new GraphicsEngine;
    g_graphicsEngine = g_engine;
    if (g_engine->Init3D() != 0 || !g_engine->LoadTexture(0, "sheet.bmp", 0)) {
        std::fprintf(stderr, "no OpenGL device\n");
        return 1;
    }
    g_engine->SetDrawEnabled(true);
    benchmark::RunSpecifiedBenchmarks();
    delete g_engine;
    DestroyWindow(g_mainWindow);
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    return 0;
}
