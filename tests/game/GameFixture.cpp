#include "tests/game/GameFixture.h"

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <mutex>

#include "engine/Application.h"
#include "engine/ErrorReporter.h"
#include "engine/GraphicsEngine.h"
#include "game/scenes/SceneManager.h"
#include "platform/d3d9/D3D9TestHooks.h"
#include "platform/d3d9/RecordingDevice.h"
#include "platform/dsound/AudioCapture.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/game/ProgramWindow.h"
#include "tests/support/OwnRuntimeFolder.h"
#include "tests/support/XvfbDisplay.h"

namespace fs = std::filesystem;

namespace {

// The game lock's mutex and any other shared name stay in a folder of the test program's own.
OwnRuntimeFolder g_runtime;

std::mutex g_boxMutex;

RecordingDevice* Recorder()
{
    return g_graphicsEngine ? RecordingDevice::From(g_graphicsEngine->GetDevice()) : nullptr;
}
}  // namespace

void GameFixture::SetUp()
{
    char pattern[] = "/tmp/game-fixture-XXXXXX";
    folder = fs::path(mkdtemp(pattern)) / "program";
    fs::copy(PROGRAM_DIR, folder, fs::copy_options::recursive);
    fs::remove(folder / "sh.dat");
    fs::remove(folder / "Pellmoor.ini");
    previousFolder = fs::current_path();
    Win32SetModuleFileName((folder / "brackle").string());
    Win32SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
        std::lock_guard lock(g_boxMutex);
        boxes.push_back(text);
        return IDOK;
    });
    if (realDevice) {
        ASSERT_TRUE(XvfbDisplay::Ensure());
        D3D9SetAdapterAnswers(std::nullopt);
    } else {
        D3D9SetAdapterAnswers(D3D9AdapterAnswers{});
    }
    // The mix advances only when a test pulls it: no audio device is needed.
    AudioSetPullMode(true);
}

void GameFixture::TearDown()
{
    if (g_mainWindow && IsWindow(g_mainWindow)) {
        DestroyWindow(g_mainWindow);
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    GameEnd();
    g_mainWindow = nullptr;
    Win32SetMessageBoxHook({});
    Win32SetModuleFileName("");
    D3D9SetAdapterAnswers(std::nullopt);
    fs::current_path(previousFolder);
    fs::remove_all(folder.parent_path());
}

void GameFixture::RemoveFile(const std::string& relative)
{
    ASSERT_TRUE(fs::remove(folder / relative)) << relative;
}

void GameFixture::StartGame()
{
    ASSERT_TRUE(OpenProgramWindow());
    ASSERT_EQ(GameInit(), 0);
}

void GameFixture::Frame()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            closed = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (closed || !IsWindow(g_mainWindow)) {
        closed = true;
        return;
    }
    if (RecordingDevice* r = Recorder()) {
        r->ClearCalls();
    }
    g_frameTime = 0.016f;
    RunFrame(0);
    int state = g_sceneManager->GetCurrentState();
    if (statesEntered.empty() || statesEntered.back() != state) {
        statesEntered.push_back(state);
    }
}

bool GameFixture::RunUntil(SceneState state, int maxFrames)
{
    for (int i = 0; i < maxFrames && !closed; ++i) {
        Frame();
        if (CurrentState() == static_cast<int>(state)) {
            return true;
        }
    }
    return false;
}

bool GameFixture::RunUntilClosed(int maxFrames)
{
    for (int i = 0; i < maxFrames && !closed; ++i) {
        Frame();
    }
    return closed;
}

void GameFixture::KeyDown(int virtualKey)
{
    Win32InjectKey(g_mainWindow, virtualKey, true);
}

void GameFixture::KeyUp(int virtualKey)
{
    Win32InjectKey(g_mainWindow, virtualKey, false);
}

void GameFixture::Tap(int virtualKey)
{
    KeyDown(virtualKey);
    Frame();
    KeyUp(virtualKey);
    Frame();
}

int GameFixture::CurrentState() const
{
    return g_sceneManager ? g_sceneManager->GetCurrentState() : -1;
}

std::vector<DrawnSprite> GameFixture::Sprites() const
{
    std::vector<DrawnSprite> sprites;
    RecordingDevice* r = Recorder();
    if (!r) {
        return sprites;
    }
    double texture = 0;
    for (const RecordedCall& call : r->calls) {
        if (call.name == "SetTexture" && call.args.size() >= 2 && call.args[0] == 0) {
            texture = call.args[1];
        } else if (call.name == "DrawPrimitiveUP" && call.stride == 32) {
            auto v = RecordingDevice::Vertices(call);
            if (v.size() != 6) {
                continue;
            }
            DrawnSprite s{-1, 0, 0, 0, 0, 0, 0, v[0].diffuse};
            for (int slot = 0; slot < GraphicsEngine::kTextureSlotCount; ++slot) {
                const TextureSlot& t = g_graphicsEngine->GetTextureSlot(slot);
                IDirect3DBaseTexture9* base = t.texture;
                if (base && static_cast<double>(reinterpret_cast<std::uintptr_t>(base)) == texture) {
                    s.slot = slot;
                    s.srcX = static_cast<int>(std::lround(v[0].u * t.imageWidth));
                    s.srcY = static_cast<int>(std::lround(v[0].v * t.imageHeight));
                }
            }
            s.x = static_cast<int>(std::lround(v[0].x));
            s.y = static_cast<int>(std::lround(v[0].y));
            s.w = static_cast<int>(std::lround(v[2].x - v[0].x));
            s.h = static_cast<int>(std::lround(v[2].y - v[0].y));
            sprites.push_back(s);
        }
    }
    return sprites;
}

std::vector<DrawnSprite> GameFixture::SpritesFrom(int slot) const
{
    std::vector<DrawnSprite> result;
    for (const DrawnSprite& s : Sprites()) {
        if (s.slot == slot) {
            result.push_back(s);
        }
    }
    return result;
}

int GameFixture::QuadsDrawn() const
{
    RecordingDevice* r = Recorder();
    return r ? static_cast<int>(r->Named("DrawPrimitiveUP").size()) : 0;
}
