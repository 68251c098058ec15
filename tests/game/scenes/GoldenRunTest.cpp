// Every level played for two minutes with one fixed key script on the virtual clock, started
// again whenever the game is lost. Once a second the game's state (every task's type, state and
// position, the scene and the score table) is hashed; the list must match the stored one.
//
// After a deliberate change of behaviour, write the list anew and commit it:
//   GOLDEN_RUN_WRITE=1 build/tests/game/scenes/scene_tests --gtest_filter='GoldenRunTest.*'
// (the README shows the whole command).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/GameObject.h"
#include "engine/TaskList.h"
#include "game/enemies/Enemy.h"
#include "game/shots/EnemyShot.h"
#include "game/effects/ExplosionDebris.h"
#include "game/effects/ExplosionFlash.h"
#include "game/effects/ExplosionRing.h"
#include "game/effects/ExplosionSpark.h"
#include "game/score/GradeLabel.h"
#include "game/player/PlayerShip.h"
#include "game/player/PlayerShot.h"
#include "game/score/PointItem.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "game/stage/WarningBanner.h"
#include "platform/win32/Win32.h"
#include "tests/game/GameFixture.h"

namespace {

constexpr int kFramesPerSecond = 63;  // the fixture's frames are 16 ms long
constexpr int kSecondsPerLevel = 120;
const char* const kGoldenFile = GOLDEN_DIR "/GoldenRun.txt";

// FNV-1a over the bytes of each value, floats by their bits.
class StateHash {
public:
    template <class T>
    void Add(const T& value)
    {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) {
            hash_ = (hash_ ^ b) * 1099511628211ull;
        }
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 1469598103934665603ull;
};

// Adds the position of a task of one of the kinds that have one; false for the others.
template <class First, class... Rest>
bool AddPosition(StateHash& h, Task* t)
{
    if (auto* p = dynamic_cast<First*>(t)) {
        h.Add(p->x);
        h.Add(p->y);
        return true;
    }
    if constexpr (sizeof...(Rest) > 0) {
        return AddPosition<Rest...>(h, t);
    } else {
        return false;
    }
}

std::uint64_t HashGameState()
{
    StateHash h;
    h.Add(g_sceneManager->GetCurrentState());
    h.Add(g_sceneManager->GetLevel());
    for (Task* t = g_taskList->First(); t && t->next; t = t->next) {
        h.Add(t->type);
        h.Add(t->state);
        h.Add(t->priority);
        AddPosition<GameObject, Enemy, EnemyShot, PlayerShot, PointItem, ExplosionDebris, ExplosionFlash,
                    ExplosionRing, ExplosionSpark, GradeLabel, WarningBanner>(h, t);
        if (auto* e = dynamic_cast<Enemy*>(t)) {
            h.Add(e->stateIndex);
            h.Add(e->hp);
            h.Add(e->targetSecond);
        }
        if (auto* ship = dynamic_cast<PlayerShip*>(t)) {
            h.Add(ship->playerState);
        }
    }
    h.Add(g_scoreTable->GetScore());
    h.Add(g_scoreTable->GetHighScore());
    h.Add(g_scoreTable->GetMultiplier());
    h.Add(g_scoreTable->GetItemCount());
    h.Add(g_scoreTable->GetGauge());
    return h.Value();
}

// The keys held at a frame: fire always, a sweep left and right, now and then up or down, and
// the item key for a moment every few seconds.
std::vector<int> KeysAt(int frame)
{
    std::vector<int> keys{'Z'};
    int phase = frame % 240;
    keys.push_back(phase < 120 ? VK_LEFT : VK_RIGHT);
    int band = frame % 600;
    if (band >= 200 && band < 230) {
        keys.push_back(VK_UP);
    } else if (band >= 400 && band < 430) {
        keys.push_back(VK_DOWN);
    }
    if (frame % 300 < 20) {
        keys.push_back('X');
    }
    return keys;
}

class GoldenRunTest : public GameFixture {
protected:
    // Presses and releases what differs from the last frame's keys.
    void HoldKeys(const std::vector<int>& keys)
    {
        for (int k : held) {
            if (std::find(keys.begin(), keys.end(), k) == keys.end()) {
                KeyUp(k);
            }
        }
        for (int k : keys) {
            if (std::find(held.begin(), held.end(), k) == held.end()) {
                KeyDown(k);
            }
        }
        held = keys;
    }
    void ReleaseAll() { HoldKeys({}); }

    std::vector<int> held;
};

std::vector<std::string> ReadGolden()
{
    std::vector<std::string> lines;
    std::ifstream in(kGoldenFile);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') {
            lines.push_back(line);
        }
    }
    return lines;
}

TEST_F(GoldenRunTest, EveryLevelPlaysAsRecorded)
{
    StartGame();
    ASSERT_TRUE(RunUntil(SceneState::Title, 200));
    std::vector<std::string> run;
    for (int level = 0; level < 4; ++level) {
        g_sceneManager->SetLevel(level);
        g_sceneManager->SetNextScene(SceneState::Stage);
        ASSERT_TRUE(RunUntil(SceneState::Stage, 3));
        for (int frame = 0; frame < kSecondsPerLevel * kFramesPerSecond; ++frame) {
            HoldKeys(KeysAt(frame));
            Frame();
            // A lost game starts the level again, so that the whole time is play.
            if (CurrentState() == static_cast<int>(SceneState::GameOver)) {
                g_sceneManager->SetNextScene(SceneState::Stage);
            }
            if (frame % kFramesPerSecond == kFramesPerSecond - 1) {
                char line[64];
                std::snprintf(line, sizeof(line), "%d %d %016llx", level, frame / kFramesPerSecond,
                              static_cast<unsigned long long>(HashGameState()));
                run.push_back(line);
            }
        }
        ReleaseAll();
        Frame();
        // Back to the title for the next level, as the scene changes do it.
        g_sceneManager->SetNextScene(SceneState::Title);
        ASSERT_TRUE(RunUntil(SceneState::Title, 10));
        for (int i = 0; i < 10; ++i) {
            Frame();
        }
    }

    const char* write = std::getenv("GOLDEN_RUN_WRITE");
    if (write && *write && std::strcmp(write, "0") != 0) {
        std::ofstream out(kGoldenFile, std::ios::trunc);
        out << "# level second hash; written by GoldenRunTest with GOLDEN_RUN_WRITE=1\n";
        for (const std::string& line : run) {
            out << line << '\n';
        }
        ASSERT_TRUE(out.good()) << kGoldenFile;
        GTEST_SKIP() << "wrote " << run.size() << " hashes to " << kGoldenFile;
    }

    std::vector<std::string> golden = ReadGolden();
    ASSERT_EQ(golden.size(), run.size()) << "the golden list " << kGoldenFile << " is missing or stale";
    for (std::size_t i = 0; i < run.size(); ++i) {
        ASSERT_EQ(run[i], golden[i]) << "the first second that differs (level second hash)";
    }
}

}  // namespace
