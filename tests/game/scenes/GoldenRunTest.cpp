// Every level played with one fixed key script on the virtual clock. First two minutes of its
// stage from the start; a lost game starts again as a new one. Then its boss, which the enemy map
// brings on as at the end of the stage, played from its first form to the stage clear twice:
// firing, and holding fire so that every form lives out its time and fires all its patterns. The
// gauge is given back during the fights before it runs out, so that the ship lives through every
// form. Once a second the game's state (every task's type, state and position; the enemies',
// bosses', emitters' and shots' motion, patterns and timers; the clock, the scene and the score
// table) is hashed; the list must match the stored one.
//
// After a deliberate change of behaviour, write the list anew and commit it:
//   GOLDEN_RUN_WRITE=1 build/tests/game/scenes/scene_tests --gtest_filter='GoldenRunTest.*'
// (the README shows the whole command).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/GameObject.h"
#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL1.h"
#include "game/bosses/BossL3Form.h"
#include "game/bosses/BossL3Form4.h"
#include "game/bosses/BossStationForm.h"
#include "game/bosses/BossSwayForm.h"
#include "game/bosses/BossSweepForm.h"
#include "game/effects/ExplosionDebris.h"
#include "game/effects/ExplosionFlash.h"
#include "game/effects/ExplosionRing.h"
#include "game/effects/ExplosionSpark.h"
#include "game/enemies/Enemy.h"
#include "game/player/PlayerShip.h"
#include "game/player/PlayerShot.h"
#include "game/scenes/SceneManager.h"
#include "game/score/GradeLabel.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"
#include "game/shots/EnemyShot.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot3.h"
#include "game/shots/EnemyShot4.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"
#include "game/shots/EnemyShot7.h"
#include "game/shots/ShotEmitter.h"
#include "game/stage/EnemyMap.h"
#include "game/stage/WarningBanner.h"
#include "platform/win32/Win32.h"
#include "tests/game/GameFixture.h"

namespace {

constexpr int kFramesPerSecond = 63;  // the fixture's frames are 16 ms long
constexpr int kStageSeconds = 120;
// A fight ends with the stage clear. One that leads to none (the level-1 boss) ends this long
// after its last form is gone, and any fight after kBossSecondsMax at the latest.
constexpr int kSecondsAfterTheBoss = 15;
constexpr int kBossSecondsMax = 300;
constexpr int kLongFirstForm = 45;
constexpr std::uint8_t kWarningCode = 0x40;
constexpr std::uint8_t kBossCode = 0x70;
const char* const kGoldenFile = GOLDEN_DIR "/GoldenRun.txt";

// FNV-1a over the bytes of each value, floats by their bits.
class StateHash {
public:
    template <class... T>
    void Add(const T&... values)
    {
        (AddBytes(values), ...);
    }
    std::uint64_t Value() const { return hash_; }

private:
    template <class T>
    void AddBytes(const T& value)
    {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) {
            hash_ = (hash_ ^ b) * 1099511628211ull;
        }
    }

    std::uint64_t hash_ = 1469598103934665603ull;
};

// Adds the position of a task of one of the kinds that have one; false for the others.
template <class First, class... Rest>
bool AddPosition(StateHash& h, Task* t)
{
    if (auto* p = dynamic_cast<First*>(t)) {
        h.Add(p->x, p->y);
        return true;
    }
    if constexpr (sizeof...(Rest) > 0) {
        return AddPosition<Rest...>(h, t);
    } else {
        return false;
    }
}

// Calls add with the task as a T when it is one.
template <class T, class Add>
void IfKind(Task* t, Add add)
{
    if (auto* p = dynamic_cast<T*>(t)) {
        add(*p);
    }
}

// What the boss patterns steer: each form's motion, pattern, step and timers, the emitters it
// drops and every shot's motion and the rule of its class.
void AddBossAndShotState(StateHash& h, Task* t)
{
    IfKind<Boss>(t, [&](Boss& b) { h.Add(b.stepCounter, b.attackTimer); });
    IfKind<BossSweepForm>(t, [&](BossSweepForm& b) {
        h.Add(b.acceleration, b.aim, b.lap, b.frame, b.frameTimer, b.entrySteps);
    });
    IfKind<BossStationForm>(t, [&](BossStationForm& b) {
        h.Add(b.acceleration, b.aim, b.lap, b.frame, b.frameTimer, b.entrySteps);
    });
    IfKind<BossSwayForm>(t, [&](BossSwayForm& b) {
        h.Add(b.acceleration, b.aim, b.leftAim, b.rightAim, b.pattern, b.frame, b.frameTimer);
    });
    IfKind<BossL3Form>(t, [&](BossL3Form& b) {
        h.Add(b.acceleration, b.aim, b.frame, b.frameStep, b.frameTimer, b.pattern);
    });
    IfKind<BossL3Form4>(t, [&](BossL3Form4& b) { h.Add(b.openingCount, b.cycleCount); });
    IfKind<BossL1>(t, [&](BossL1& b) {
        h.Add(b.acceleration, b.shotsFired, b.shotAngle, b.shotTimer, b.blinkCell, b.blinkTimer);
    });
    IfKind<ShotEmitter>(t, [&](ShotEmitter& e) { h.Add(e.baseAngle, e.volleys, e.fireTimer); });
    IfKind<EnemyShot>(t, [&](EnemyShot& s) { h.Add(s.speed, s.direction, s.accel, s.hp); });
    IfKind<EnemyShot2>(t, [&](EnemyShot2& s) { h.Add(s.cell); });
    IfKind<EnemyShot3>(t, [&](EnemyShot3& s) { h.Add(s.aim, s.limit, s.fireFlag); });
    IfKind<EnemyShot4>(t, [&](EnemyShot4& s) { h.Add(s.limit, s.burst); });
    IfKind<EnemyShot5>(t, [&](EnemyShot5& s) { h.Add(s.limit); });
    IfKind<EnemyShot6>(t, [&](EnemyShot6& s) { h.Add(s.limit); });
    IfKind<EnemyShot7>(t, [&](EnemyShot7& s) { h.Add(s.homingTimer, s.homing); });
}

std::uint64_t HashGameState()
{
    StateHash h;
    h.Add(g_sceneManager->GetCurrentState(), g_sceneManager->GetLevel(), Enemy::GetClockSeconds());
    for (Task* t = g_taskList->First(); t && t->next; t = t->next) {
        h.Add(t->type, t->state, t->priority);
        AddPosition<GameObject, Enemy, EnemyShot, PlayerShot, PointItem, ExplosionDebris, ExplosionFlash,
                    ExplosionRing, ExplosionSpark, GradeLabel, WarningBanner>(h, t);
        if (auto* e = dynamic_cast<Enemy*>(t)) {
            h.Add(e->stateIndex, e->hp, e->targetSecond, e->speed, e->direction);
        }
        if (auto* ship = dynamic_cast<PlayerShip*>(t)) {
            h.Add(ship->playerState);
        }
        AddBossAndShotState(h, t);
    }
    h.Add(g_scoreTable->GetScore(), g_scoreTable->GetHighScore(), g_scoreTable->GetMultiplier(),
          g_scoreTable->GetItemCount(), g_scoreTable->GetGauge());
    return h.Value();
}

template <class T>
T* FindLive()
{
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (auto* found = dynamic_cast<T*>(t); found && t->state == TaskState::Live) {
            return found;
        }
    }
    return nullptr;
}

// Drops the rows of the map before the one that shows the warning banner, so that the map goes
// on from there as at the end of the stage: the banner, then the boss cell, whose parameter (the
// first form's target second) becomes bossParam unless that is negative. False when the map holds
// no warning followed by a boss.
bool SkipToTheWarning(EnemyMap* map, int bossParam)
{
    std::vector<std::uint8_t>& queue = map->queue;
    const std::size_t rowBytes = 2 * EnemyMap::kCellsPerRow;
    auto cellIn = [&](std::size_t row, std::uint8_t code) -> std::size_t {
        for (std::size_t i = row; i + 1 < queue.size() && i < row + rowBytes; i += 2) {
            if (queue[i] == code) {
                return i;
            }
        }
        return queue.size();
    };
    std::size_t warning = 0;
    while (warning < queue.size() && cellIn(warning, kWarningCode) == queue.size()) {
        warning += rowBytes;
    }
    for (std::size_t row = warning; row < queue.size(); row += rowBytes) {
        if (std::size_t boss = cellIn(row, kBossCode); boss < queue.size()) {
            if (bossParam >= 0) {
                queue[boss + 1] = static_cast<std::uint8_t>(bossParam);
            }
            queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(warning));
            return true;
        }
    }
    return false;
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

    // One frame of the key script; without fire, the same keys but Z.
    void Play(int frame, bool fire = true)
    {
        std::vector<int> keys = KeysAt(frame);
        if (!fire) {
            keys.erase(std::remove(keys.begin(), keys.end(), 'Z'), keys.end());
        }
        HoldKeys(keys);
        Frame();
    }

    // A new game of the level, begun at the title as a player begins one.
    void StartLevel(int level)
    {
        HoldKeys({});
        Frame();
        g_sceneManager->SetNextScene(SceneState::Title);
        ASSERT_TRUE(RunUntil(SceneState::Title, 10));
        for (int i = 0; i < 10; ++i) {
            Frame();
        }
        g_sceneManager->SetLevel(level);
        g_sceneManager->SetNextScene(SceneState::Stage);
        ASSERT_TRUE(RunUntil(SceneState::Stage, 3));
    }

    // The hash of this moment, as the given second of a part.
    void Record(int level, const char* part, int second)
    {
        char line[80];
        std::snprintf(line, sizeof(line), "%d %s %d %016llx", level, part, second,
                      static_cast<unsigned long long>(HashGameState()));
        run.push_back(line);
    }
    static bool LastFrameOfASecond(int frame) { return frame % kFramesPerSecond == kFramesPerSecond - 1; }

    // The stage from its start. A lost game starts again as a new game, through the title, so
    // that the whole time is play.
    void PlayStage(int level)
    {
        ASSERT_NO_FATAL_FAILURE(StartLevel(level));
        for (int frame = 0; frame < kStageSeconds * kFramesPerSecond; ++frame) {
            Play(frame);
            if (CurrentState() == static_cast<int>(SceneState::GameOver)) {
                g_sceneManager->SetNextScene(SceneState::Title);
            } else if (CurrentState() == static_cast<int>(SceneState::Title)) {
                g_sceneManager->SetNextScene(SceneState::Stage);
            }
            if (LastFrameOfASecond(frame)) {
                Record(level, "stage", frame / kFramesPerSecond);
            }
        }
    }

    // A new stage whose map, once read, goes on from its warning banner: the boss comes after
    // it as at the end of the stage, and the fight is played until the stage clear. Firing, the
    // ship ends the first form with its first hit, since the map's boss cell sets the form's
    // target second only a few seconds after it arrives. Holding fire, every form lives on until
    // its late end; the boss cell then gives the first form the 45 seconds a second form gets,
    // so that it lives long enough to fire each of its patterns.
    void PlayBoss(int level, bool fire)
    {
        const char* part = fire ? "boss" : "boss-nofire";
        ASSERT_NO_FATAL_FAILURE(StartLevel(level));
        bool skipped = false;
        int bossSeen = -1;  // the last frame with a live boss form
        bool ended = false;
        for (int frame = 0; frame < kBossSecondsMax * kFramesPerSecond && !ended; ++frame) {
            KeepGaugeUp();
            Play(frame, fire);
            if (EnemyMap* map = FindLive<EnemyMap>(); !skipped && map && map->phase == 1) {
                ASSERT_TRUE(SkipToTheWarning(map, fire ? -1 : kLongFirstForm)) << "no boss on level " << level;
                skipped = true;
            }
            if (FindLive<Boss>()) {
                bossSeen = frame;
            }
            ended = CurrentState() == static_cast<int>(SceneState::StageClear) ||
                    (bossSeen >= 0 && frame - bossSeen > kSecondsAfterTheBoss * kFramesPerSecond);
            // The second in which the fight ended is recorded too.
            if (ended || LastFrameOfASecond(frame)) {
                Record(level, part, frame / kFramesPerSecond);
            }
        }
        ASSERT_GE(bossSeen, 0) << "no boss came on level " << level;
        // Every level's boss but the lone level-1 one is a chain of forms that clears the stage.
        ASSERT_EQ(CurrentState() == static_cast<int>(SceneState::StageClear), level != 1)
            << "level " << level << " ended in scene " << CurrentState();
    }

    // The gauge is given back before a lost ship could use it up, so that the fight goes on to
    // its end whatever the shots cost.
    static void KeepGaugeUp()
    {
        int gauge = g_scoreTable->GetGauge();
        if (gauge < 60) {
            g_scoreTable->ReduceGauge(gauge - 100);
        }
    }

    std::vector<int> held;
    std::vector<std::string> run;
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
    for (int level = 0; level < 4; ++level) {
        ASSERT_NO_FATAL_FAILURE(PlayStage(level));
        ASSERT_NO_FATAL_FAILURE(PlayBoss(level, true));
        ASSERT_NO_FATAL_FAILURE(PlayBoss(level, false));
    }

    const char* write = std::getenv("GOLDEN_RUN_WRITE");
    if (write && *write && std::strcmp(write, "0") != 0) {
        std::ofstream out(kGoldenFile, std::ios::trunc);
        out << "# level part second hash; written by GoldenRunTest with GOLDEN_RUN_WRITE=1\n";
        for (const std::string& line : run) {
            out << line << '\n';
        }
        ASSERT_TRUE(out.good()) << kGoldenFile;
        GTEST_SKIP() << "wrote " << run.size() << " hashes to " << kGoldenFile;
    }

    std::vector<std::string> golden = ReadGolden();
    for (std::size_t i = 0; i < std::min(run.size(), golden.size()); ++i) {
        ASSERT_EQ(run[i], golden[i]) << "the first second that differs (level part second hash)";
    }
    ASSERT_EQ(run.size(), golden.size()) << "the golden list " << kGoldenFile << " is missing or stale";
}

}  // namespace
