// The cost of a frame of the level-3 boss fight on the OpenGL device with 0, 500 and 2000 enemy
// shots on the field, beside the floor: a minimal OpenGL program that draws the same number of
// 16x16 blended quads from one buffer into a window of the same size.
//
//   update      the game: a frame with drawing off (every task moves, nothing is drawn);
//               the floor: moving its quads
//   submission  the game: a drawn frame up to Present, less the update;
//               the floor: filling the buffer and drawing it
//   frame       the whole drawn frame: clear, update, drawing and presentation
//
// A private X server is started when DISPLAY is unset. With --shot FILE the boss frame at 500
// shots is saved as a screenshot (the picture is the same whatever the device's speed).
#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/Application.h"
#include "engine/ErrorReporter.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/stage/Clock.h"
#include "game/stage/EnemyMap.h"
#include "game/shots/EnemyShot.h"
#include "game/shots/EnemyShot1.h"
#include "game/scenes/SceneManager.h"
#include "platform/d3d9/D3D9TestHooks.h"
#include "platform/dsound/AudioCapture.h"
#include "platform/win32/Win32.h"
#include "tests/game/ProgramWindow.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/support/XvfbDisplay.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCounts[] = {0, 500, 2000};
constexpr int kWarmFrames = 60;
constexpr int kFrames = 400;

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Milliseconds per frame, summed over the measured frames.
struct Figures {
    double update = 0, submission = 0, frame = 0;
    void Scale(int frames)
    {
        update *= 1000.0 / frames;
        submission *= 1000.0 / frames;
        frame *= 1000.0 / frames;
    }
};

// ---- the floor ----

struct FloorVertex {
    float x, y, u, v;
    std::uint8_t colour[4];
};

Figures MeasureFloor(SDL_Window* window, int count)
{
    std::mt19937 random(7);
    std::vector<float> px(count), py(count);
    for (int i = 0; i < count; ++i) {
        px[i] = 128.0f + static_cast<float>(random() % 368);
        py[i] = static_cast<float>(random() % 480);
    }
    std::vector<FloorVertex> vertices(static_cast<std::size_t>(count) * 4);
    Figures f;
    for (int frame = 0; frame < kWarmFrames + kFrames; ++frame) {
        double start = Now();
        glClear(GL_COLOR_BUFFER_BIT);
        double updateStart = Now();
        for (int i = 0; i < count; ++i) {
            py[i] += 1.0f;
            if (py[i] > 480.0f) {
                py[i] -= 496.0f;
            }
        }
        double submitStart = Now();
        for (int i = 0; i < count; ++i) {
            const float corners[4][2] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}};
            for (int c = 0; c < 4; ++c) {
                FloorVertex& v = vertices[static_cast<std::size_t>(i) * 4 + c];
                v.x = px[i] + corners[c][0];
                v.y = py[i] + corners[c][1];
                v.u = corners[c][0] / 16.0f;
                v.v = corners[c][1] / 16.0f;
                std::memset(v.colour, 255, 4);
            }
        }
        if (count > 0) {
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(FloorVertex)),
                         vertices.data(), GL_STREAM_DRAW);
            glDrawElements(GL_TRIANGLES, count * 6, GL_UNSIGNED_INT, nullptr);
        }
        double submitEnd = Now();
        SDL_GL_SwapWindow(window);
        double end = Now();
        if (frame >= kWarmFrames) {
            f.update += submitStart - updateStart;
            f.submission += submitEnd - submitStart;
            f.frame += end - start;
        }
    }
    f.Scale(kFrames);
    return f;
}

bool RunFloor(std::vector<Figures>* out)
{
    SDL_Init(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_Window* window = SDL_CreateWindow("floor", 0, 0, 640, 480, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        return false;
    }
    SDL_GL_SetSwapInterval(0);
    // A round 16x16 sprite, as the game's shots are.
    std::vector<std::uint32_t> texels(16 * 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            int dx = 2 * x - 15, dy = 2 * y - 15;
            texels[y * 16 + x] = dx * dx + dy * dy < 225 ? 0xFFFF8040u : 0x00000000u;
        }
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 640, 480, 0, -1, 1);
    glClearColor(0, 0, 0, 1);
    GLuint buffers[2];
    glGenBuffers(2, buffers);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
    std::vector<GLuint> indices;
    for (GLuint q = 0; q < 2000; ++q) {
        for (GLuint i : {0u, 1u, 2u, 0u, 2u, 3u}) {
            indices.push_back(q * 4 + i);
        }
    }
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * 4), indices.data(), GL_STATIC_DRAW);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(FloorVertex), reinterpret_cast<void*>(offsetof(FloorVertex, x)));
    glTexCoordPointer(2, GL_FLOAT, sizeof(FloorVertex), reinterpret_cast<void*>(offsetof(FloorVertex, u)));
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(FloorVertex), reinterpret_cast<void*>(offsetof(FloorVertex, colour)));
    for (int count : kCounts) {
        out->push_back(MeasureFloor(window, count));
    }
    glDeleteBuffers(2, buffers);
    glDeleteTextures(1, &texture);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    return true;
}

// ---- the game ----

Clock* FindClock()
{
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (auto* c = dynamic_cast<Clock*>(t); c && t->state == TaskState::Live) {
            return c;
        }
    }
    return nullptr;
}

// Keeps exactly `count` enemy shots alive: the boss's own and falling 16x16 shots that fill up
// the rest, spread over the field. Called between frames, outside the measured time.
void KeepShots(int count, std::mt19937& random)
{
    int live = 0;
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state == TaskState::Live && t->type == TaskType::EnemyShot) {
            if (++live > count) {
                g_taskList->Kill(t);
            }
        }
    }
    for (; live < count; ++live) {
        float x = 136.0f + static_cast<float>(random() % 368);
        float y = static_cast<float>(random() % 480);
        EnemyShot1::Create(PriorityPlayer, x, y, 60.0f, 270, 0.0f);
    }
}

void Step(std::uint8_t skipDraw, Clock* clock)
{
    clock->seconds = 10;  // held, so the boss neither times out nor hands over
    clock->millis = 0.0f;
    g_frameTime = 0.016f;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    RunFrame(skipDraw);
}

bool StartBossFight()
{
    if (!OpenProgramWindow() || GameInit() != 0) {
        return false;
    }
    for (int i = 0; i < 400 && g_sceneManager->GetCurrentState() != static_cast<int>(SceneState::Title); ++i) {
        RunFrame(0);
    }
    g_sceneManager->SetLevel(3);
    g_sceneManager->SetNextScene(SceneState::Stage);
    for (int i = 0; i < 400 && g_sceneManager->GetCurrentState() != static_cast<int>(SceneState::Stage); ++i) {
        RunFrame(0);
    }
    for (int i = 0; i < 120; ++i) {
        RunFrame(0);  // the fade in and the stage opening
    }
    Clock* clock = FindClock();
    if (!clock) {
        return false;
    }
    // Only the boss: no enemy map, no other enemies, and no ship for the shots to hit.
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state == TaskState::Live &&
            (dynamic_cast<EnemyMap*>(t) || t->type == TaskType::Enemy || t->type == TaskType::Player)) {
            g_taskList->Kill(t);
        }
    }
    Boss::Create(PriorityEnemy, 10);
    for (int i = 0; i < 300; ++i) {
        Step(0, clock);  // the rise from below the field
    }
    return true;
}

Figures MeasureGame(int count, std::mt19937& random, const char* shot)
{
    Clock* clock = FindClock();
    IDirect3DDevice9* device = g_graphicsEngine->GetDevice();
    Figures f;
    for (int frame = 0; frame < kWarmFrames + kFrames; ++frame) {
        KeepShots(count, random);
        double start = Now();
        Step(1, clock);
        double updateEnd = Now();
        KeepShots(count, random);
        double top = Now();
        double present = D3D9PresentSeconds(device);
        Step(0, clock);
        double end = Now();
        present = D3D9PresentSeconds(device) - present;
        if (frame >= kWarmFrames) {
            double update = updateEnd - start;
            f.update += update;
            f.submission += std::max(0.0, end - top - present - update);
            f.frame += end - top;
        }
        if (shot && frame == kWarmFrames) {
            g_graphicsEngine->SaveScreenshot(shot);
        }
    }
    f.Scale(kFrames);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* shot = nullptr;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--shot") == 0) {
            shot = argv[i + 1];
        }
    }
    std::string shotPath = shot ? fs::absolute(shot).string() : std::string();
    if (!XvfbDisplay::Ensure()) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    std::vector<Figures> floor;
    if (!RunFloor(&floor)) {
        std::fprintf(stderr, "no OpenGL for the floor\n");
        return 1;
    }

    // The game in a copy of its program folder, sound mixed only when pulled.
    fs::path folder = fs::temp_directory_path() / ("boss_frame_cost_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy(PROGRAM_DIR, folder / "program", fs::copy_options::recursive);
    fs::remove(folder / "program" / "sh.dat");
    fs::remove(folder / "program" / "Pellmoor.ini");
    Win32SetModuleFileName((folder / "program" / "brackle").string());
    D3D9SetAdapterAnswers(std::nullopt);
    AudioSetPullMode(true);
    if (!StartBossFight()) {
        std::fprintf(stderr, "the level-3 boss fight could not be started\n");
        return 1;
    }
    std::mt19937 random(11);
    std::vector<Figures> game;
    for (int count : kCounts) {
        game.push_back(MeasureGame(count, random, count == 500 && shot ? shotPath.c_str() : nullptr));
    }
    DestroyWindow(g_mainWindow);
    GameEnd();
    fs::remove_all(folder);

    std::printf("milliseconds per frame (mean of %d frames)\n", kFrames);
    std::printf("%6s | %-24s | %-24s | %s\n", "", "game", "floor", "frame");
    std::printf("%6s | %7s %8s %7s | %7s %8s %7s | %s\n", "shots", "update", "submit", "frame", "update", "submit",
                "frame", "game/floor");
    for (std::size_t i = 0; i < game.size(); ++i) {
        const Figures& g = game[i];
        const Figures& l = floor[i];
        std::printf("%6d | %7.3f %8.3f %7.3f | %7.3f %8.3f %7.3f | %.2fx\n", kCounts[i], g.update, g.submission,
                    g.frame, l.update, l.submission, l.frame, g.frame / l.frame);
    }
    return 0;
}
