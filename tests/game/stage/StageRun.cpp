#include "tests/game/stage/StageRun.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>

#include "engine/Application.h"
#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/stage/Clock.h"
#include "game/enemies/Enemy.h"
#include "game/shots/EnemyShot.h"
#include "game/score/GradeLabel.h"
#include "game/enemies/IntroTarget.h"
#include "game/player/PlayerShip.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "game/shots/ShotEmitterA.h"
#include "game/shots/ShotEmitterB.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32TestHooks.h"

namespace {

constexpr float kDt = 0.016f;
constexpr int kFramesPerSecond = 64;   // a clock second: 63 frames of 16 ms, then the carry frame
constexpr float kShotSpeed = 700.0f;   // the player's shot, straight up
constexpr int kReactionFrames = 12;
constexpr float kRestY = 372.0f;       // where the scripted ship waits (its top edge)

Clock* FindClock()
{
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state == TaskState::Live && t->type == TaskType::Clock) {
            return static_cast<Clock*>(t);
        }
    }
    return nullptr;
}

// A map enemy: an enemy kind, not a boss form, an emitter or the opening's target.
bool IsMapEnemy(Task* t)
{
    return dynamic_cast<Enemy*>(t) && !dynamic_cast<Boss*>(t) && !dynamic_cast<IntroTarget*>(t) &&
           !dynamic_cast<ShotEmitterA*>(t) && !dynamic_cast<ShotEmitterB*>(t);
}

std::string ClassName(Task* t)
{
    std::string name = typeid(*t).name();
    std::size_t i = 0;
    while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]))) {
        ++i;
    }
    return name.substr(i);
}

Rect HitRect(const Enemy* e)
{
    Rect r{};
    e->GetHitRect(&r);
    return r;
}

// Inside the play field, and above the line the ship's shots start from.
bool Reachable(const Enemy* e)
{
    Rect r = HitRect(e);
    float cx = r.x + r.w / 2.0f;
    return e->type == TaskType::Enemy && cx >= 128.0f && cx <= 512.0f && r.y + r.h > 0.0f && r.y < 480.0f - 48.0f;
}

struct Vec {
    float x, y;
};

Vec Velocity(float speed, int direction)
{
    float a = static_cast<float>(direction) * 3.14159265f / 180.0f;
    return {std::cos(a) * speed, -std::sin(a) * speed};
}

// The scripted attentive player: keeps its centre point clear of the shots and enemies it can
// see coming in the next third of a second, lines up under the enemy whose target second comes
// next, and holds Z only while a shot would land within that second.
class ScriptedPlayer {
public:
    explicit ScriptedPlayer(HWND window) : window(window) {}

    void Steer(PlayerShip* ship, int clock, int framesIntoSecond)
    {
        ++frame;
        std::unordered_map<Task*, int> seenNow;
        for (Task* t = g_taskList->First(); t; t = t->next) {
            if (t->state == TaskState::Live && t->type == TaskType::EnemyShot) {
                auto old = firstSeen.find(t);
                seenNow[t] = old == firstSeen.end() ? frame : old->second;
            }
        }
        firstSeen.swap(seenNow);
        Enemy* target = ChooseTarget(ship, clock);
        int best = 0;
        float bestCost = 1e30f;
        for (int d = 0; d < 9; ++d) {
            float cost = Cost(ship, d, target, frame, firstSeen);
            if (cost < bestCost) {
                bestCost = cost;
                best = d;
            }
        }
        SetKey(VK_UP, best == 1 || best == 5 || best == 6);
        SetKey(VK_DOWN, best == 2 || best == 7 || best == 8);
        SetKey(VK_LEFT, best == 3 || best == 5 || best == 7);
        SetKey(VK_RIGHT, best == 4 || best == 6 || best == 8);
        SetKey('Z', target && ShouldFire(ship, target, clock, framesIntoSecond));
    }

    void ReleaseAll()
    {
        for (int k : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, int('Z')}) {
            SetKey(k, false);
        }
    }

private:
    HWND window;
    std::unordered_map<int, bool> held;
    // When each shot was first seen: a player reacts to a shot only after a fifth of a second.
    std::unordered_map<Task*, int> firstSeen;
    int frame = 0;

    void SetKey(int key, bool down)
    {
        if (held[key] != down) {
            Win32InjectKey(window, key, down);
            held[key] = down;
        }
    }

    static Vec Step(int d)
    {
        static const int kDirections[9] = {-1, 90, 270, 180, 0, 135, 45, 225, 315};
        return kDirections[d] < 0 ? Vec{0, 0} : Velocity(280.0f, kDirections[d]);
    }

    static Enemy* ChooseTarget(PlayerShip* ship, int clock)
    {
        Enemy* best = nullptr;
        for (Task* t = g_taskList->First(); t; t = t->next) {
            auto* e = dynamic_cast<Enemy*>(t);
            if (!e || t->state != TaskState::Live || e->type != TaskType::Enemy || e->targetSecond < clock ||
                !Reachable(e) || HitRect(e).y > ship->y - 40.0f) {
                continue;
            }
            if (!best || e->targetSecond < best->targetSecond) {
                best = e;
            }
        }
        return best;
    }

    // Danger of a move held for the next 20 frames, plus the distance from where the ship
    // wants to be.
    static float Cost(PlayerShip* ship, int d, Enemy* target, int frame,
                      std::unordered_map<Task*, int>& firstSeen)
    {
        Vec v = Step(d);
        float cost = 0.0f;
        for (Task* t = g_taskList->First(); t; t = t->next) {
            if (t->state != TaskState::Live) {
                continue;
            }
            Rect r{};
            Vec tv{};
            if (t->type == TaskType::EnemyShot) {
                auto* s = static_cast<EnemyShot*>(t);
                if (frame - firstSeen[t] < kReactionFrames) {
                    continue;
                }
                s->GetRect(&r);
                tv = Velocity(s->speed, s->direction);
            } else if (t->type == TaskType::Enemy) {
                auto* e = static_cast<Enemy*>(t);
                r = HitRect(e);
                tv = Velocity(e->speed, e->direction);
            } else {
                continue;
            }
            float sx = ship->x + 24.0f, sy = ship->y + 24.0f;
            if (std::abs(r.x - sx) > 220.0f || std::abs(r.y - sy) > 220.0f) {
                continue;
            }
            for (int k = 1; k <= 20; ++k) {
                float px = std::clamp(sx + v.x * kDt * k, 128.0f + 24.0f, 512.0f - 24.0f);
                float py = std::clamp(sy + v.y * kDt * k, 24.0f, 480.0f - 24.0f);
                float rx = r.x + tv.x * kDt * k, ry = r.y + tv.y * kDt * k;
                constexpr float kMargin = 7.0f;
                if (px > rx - kMargin && px < rx + r.w + kMargin && py > ry - kMargin && py < ry + r.h + kMargin) {
                    cost += 1000.0f * static_cast<float>(21 - k);
                    break;
                }
            }
        }
        float endX = ship->x + v.x * kDt * 8, endY = ship->y + v.y * kDt * 8;
        float wantX = target ? LeadX(ship, target) - 24.0f : 296.0f;
        cost += std::abs(endX - wantX) + 0.3f * std::abs(endY - kRestY);
        return cost;
    }

    // Z pressed now fires next frame, and the kill is graded the frame after the hit.
    static float FlightTime(PlayerShip* ship, Enemy* target)
    {
        Rect r = HitRect(target);
        return std::max(0.0f, ship->y - (r.y + r.h)) / kShotSpeed + 3.0f / kFramesPerSecond;
    }

    // Where the target's centre will be when a shot fired now reaches it.
    static float LeadX(PlayerShip* ship, Enemy* target)
    {
        return target->x + target->w / 2.0f + Velocity(target->speed, target->direction).x * FlightTime(ship, target);
    }

    static bool ShouldFire(PlayerShip* ship, Enemy* target, int clock, int framesIntoSecond)
    {
        Rect r = HitRect(target);
        float shotX = ship->x + 24.0f;
        if (std::abs(shotX - LeadX(ship, target)) > r.w / 2.0f + 6.0f) {
            return false;
        }
        // Nothing else in the shot's way.
        for (Task* t = g_taskList->First(); t; t = t->next) {
            auto* e = dynamic_cast<Enemy*>(t);
            if (e && e != target && t->state == TaskState::Live && e->type == TaskType::Enemy) {
                Rect o = HitRect(e);
                if (shotX > o.x - 16.0f && shotX < o.x + o.w + 16.0f && o.y + o.h > r.y && o.y < ship->y) {
                    return false;
                }
            }
        }
        float hitAt = static_cast<float>(clock) + static_cast<float>(framesIntoSecond) / kFramesPerSecond +
                      FlightTime(ship, target);
        return hitAt >= target->targetSecond + 0.1f && hitAt <= target->targetSecond + 0.8f;
    }
};

struct Tracked {
    TargetSecondCheck check;
    int lastHp = 1;
    bool map = false;
    bool boss = false;
};

}  // namespace

StageFigures StageRun::Play(int level, Player player, int maxSeconds)
{
    if (!started) {
        StartGame();
        if (!RunUntil(SceneState::Title, 200)) {
            ADD_FAILURE() << "no title";
        }
        started = true;
    }
    g_sceneManager->SetLevel(level);
    g_sceneManager->SetNextScene(SceneState::Stage);
    StageFigures f;
    if (!RunUntil(SceneState::Stage, 3)) {
        ADD_FAILURE() << "no stage";
        return f;
    }
    g_scoreTable->ResetForGame();
    ScriptedPlayer script(g_mainWindow);
    std::unordered_map<Task*, Tracked> enemies;
    std::unordered_set<Task*> shotsSeen, labelsSeen;
    int lastSecond = -1, framesIntoSecond = 0;
    PlayerState lastShipState = PlayerState::Entering;
    auto count = [&](std::vector<int>& v, int second) {
        if (static_cast<int>(v.size()) <= second / 10) {
            v.resize(second / 10 + 1);
        }
        ++v[second / 10];
    };
    int seconds = 0;
    auto finish = [&](Tracked& t) {
        if (t.boss) {
            f.forms.push_back({t.check.bornSecond, t.check.targetSecond, seconds});
        }
        if (!t.map) {
            return;
        }
        t.check.escaped = t.lastHp > 0;
        f.escaped += t.check.escaped ? 1 : 0;
        if (t.check.targetSecond > 0) {
            f.checks.push_back(t.check);
        }
    };

    for (int frame = 0; frame < (maxSeconds + 10) * kFramesPerSecond; ++frame) {
        Clock* clock = FindClock();
        seconds = clock ? clock->GetSeconds() : 0;
        framesIntoSecond = seconds == lastSecond ? framesIntoSecond + 1 : 0;
        lastSecond = seconds;
        auto* ship = static_cast<PlayerShip*>(TaskList::FindPlayer());
        if (player == Player::None) {
            g_scoreTable->ResetForGame();
        } else if (ship) {
            script.Steer(ship, seconds, framesIntoSecond);
        }
        Frame();
        if (CurrentState() != static_cast<int>(SceneState::Stage)) {
            f.cleared = CurrentState() == static_cast<int>(SceneState::StageClear);
            f.gameOver = CurrentState() == static_cast<int>(SceneState::GameOver);
            break;
        }
        clock = FindClock();
        seconds = clock ? clock->GetSeconds() : 0;
        f.lastSecond = seconds;
        f.gauge = g_scoreTable->GetGauge();
        f.lowestGauge = std::min(f.lowestGauge, f.gauge);
        ship = static_cast<PlayerShip*>(TaskList::FindPlayer());
        if (ship) {
            if (ship->playerState == PlayerState::Entering && lastShipState != PlayerState::Entering) {
                ++f.shipsLost;
            }
            if (ship->playerState == PlayerState::Cleared) {
                f.cleared = true;
            }
            lastShipState = ship->playerState;
        } else if (f.gauge <= 0) {
            f.gameOver = true;
        }

        std::unordered_set<Task*> liveShots, liveLabels, liveEnemies;
        int shotsAlive = 0;
        for (Task* t = g_taskList->First(); t; t = t->next) {
            if (t->state != TaskState::Live) {
                continue;
            }
            if (t->type == TaskType::EnemyShot) {
                ++shotsAlive;
                liveShots.insert(t);
                if (!shotsSeen.count(t) && f.bossSecond < 0) {
                    count(f.shots, seconds);
                }
            } else if (auto* label = dynamic_cast<GradeLabel*>(t)) {
                liveLabels.insert(t);
                if (!labelsSeen.count(t)) {
                    (label->grade == TimingGrade::Exact ? f.exact : label->grade == TimingGrade::Near ? f.near : f.miss)++;
                }
            } else if (auto* e = dynamic_cast<Enemy*>(t)) {
                if (dynamic_cast<Boss*>(t) && f.bossSecond < 0) {
                    f.bossSecond = seconds;
                    f.gaugeAtBoss = f.gauge;
                }
                liveEnemies.insert(t);
                auto [it, fresh] = enemies.try_emplace(t);
                if (fresh) {
                    it->second.map = IsMapEnemy(t) && f.bossSecond < 0;
                    it->second.boss = dynamic_cast<Boss*>(t) != nullptr;
                    it->second.check = {ClassName(t), seconds, e->targetSecond, 0};
                    if (it->second.map) {
                        count(f.enemies, seconds);
                    }
                }
                it->second.lastHp = e->hp;
                if (seconds == e->targetSecond && e->hp > 0 && Reachable(e)) {
                    ++it->second.check.hittableFrames;
                }
            }
        }
        if (f.bossSecond < 0) {
            f.peakShots = std::max(f.peakShots, shotsAlive);
        }
        for (auto it = enemies.begin(); it != enemies.end();) {
            if (!liveEnemies.count(it->first)) {
                finish(it->second);
                it = enemies.erase(it);
            } else {
                ++it;
            }
        }
        shotsSeen.swap(liveShots);
        labelsSeen.swap(liveLabels);
        bool mapEnemiesLeft = std::any_of(enemies.begin(), enemies.end(), [](auto& e) { return e.second.map; });
        if ((player == Player::None && f.bossSecond >= 0 && !mapEnemiesLeft) || f.cleared || f.gameOver || seconds >= maxSeconds) {
            break;
        }
    }
    for (auto& [task, tracked] : enemies) {
        finish(tracked);
    }
    script.ReleaseAll();
    // Back to the title for the next run.
    g_sceneManager->SetNextScene(SceneState::Title);
    RunUntil(SceneState::Title, 10);
    Frame();
    return f;
}

std::string StageRun::Describe(int level, const StageFigures& f)
{
    std::ostringstream out;
    out << "level " << level << ": boss at clock " << f.bossSecond << ", peak shots alive " << f.peakShots << "\n";
    out << "  seconds  ";
    for (std::size_t i = 0; i < std::max(f.enemies.size(), f.shots.size()); ++i) {
        out << " " << i * 10 << "-";
    }
    out << "\n  enemies  ";
    for (int n : f.enemies) {
        out << " " << n;
    }
    out << "\n  shots    ";
    for (int n : f.shots) {
        out << " " << n;
    }
    out << "\n  gauge at boss " << f.gaugeAtBoss << ", lowest " << f.lowestGauge << ", end " << f.gauge << " at clock "
        << f.lastSecond << (f.cleared ? ", cleared" : "") << (f.gameOver ? ", game over" : "") << "; exact " << f.exact
        << ", near " << f.near << ", miss " << f.miss << ", escaped " << f.escaped << ", ships lost " << f.shipsLost
        << "\n";
    out << "  boss forms (came, target, ended):";
    for (const BossForm& b : f.forms) {
        out << " " << b.bornSecond << "/" << b.targetSecond << "/" << b.endSecond;
    }
    out << "\n";
    if (std::getenv("STAGE_ESCAPES")) {
        out << "  escaped:";
        for (const TargetSecondCheck& c : f.checks) {
            if (c.escaped) {
                out << " " << c.kind << "@" << c.bornSecond << "->" << c.targetSecond << "(" << c.hittableFrames << ")";
            }
        }
        out << "\n";
    }
    return out.str();
}
