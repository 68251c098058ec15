// The three level-2 boss forms: movement, attack patterns, sounds and summons, frame by frame.
// The clock is held well before every target second so that the boss rule stays out of the way.
#include <algorithm>
#include <map>
#include <string>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL2Form1.h"
#include "game/bosses/BossL2Form2.h"
#include "game/bosses/BossL2Form3.h"
#include "game/enemies/Enemy1.h"
#include "game/enemies/Enemy2.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"
#include "game/shots/EnemyShot7.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "tests/game/bosses/BossFixture.h"

namespace {

constexpr int kHeldSecond = 10;
constexpr int kParam = 100;  // targets near second 110

int Norm(int angle)
{
    return ((angle % 360) + 360) % 360;
}

template <class T>
std::vector<int> Directions(const std::vector<T*>& shots)
{
    std::vector<int> out;
    for (T* s : shots) {
        out.push_back(s->direction);
    }
    return out;
}

// Frames in which each sound was requested.
using Sounds = std::map<int, int>;

// Degrees between two directions the short way round: homing shots turn a degree in the frame
// they are made.
int Gap(int a, int b)
{
    int d = Norm(a - b);
    return std::min(d, 360 - d);
}

int Id(SoundEffectId id)
{
    return static_cast<int>(id);
}

// A summoned enemy, read when it appeared.
struct Summon {
    float x;
    int target;
};

class BossL2FormsTest : public BossFixture {
protected:
    void SetUp() override
    {
        BossFixture::SetUp();
        g_sceneManager->SetLevel(2);
        clock->seconds = kHeldSecond;
    }
    std::vector<EnemyShot*> Frame(Sounds* sounds = nullptr)
    {
        ClearSoundRequests();
        auto shots = StepAt(kHeldSecond);
        if (sounds) {
            for (int id = 0; id < kSoundEffectCount; ++id) {
                if (SoundRequested(id)) {
                    (*sounds)[id] += 1;
                }
            }
        }
        return shots;
    }
    // Enemies of one family called in since the last call: read, then taken away before they
    // fire, so that only the boss's own shots are counted.
    template <class T>
    std::vector<Summon> TakeSummoned()
    {
        std::vector<Summon> found;
        for (T* e : LiveOfClass<T>()) {
            found.push_back({e->x, e->targetSecond});
            g_taskList->Kill(e);
        }
        return found;
    }
    std::vector<DrawnSprite> BodySprites() const
    {
        std::vector<DrawnSprite> body;
        for (const DrawnSprite& s : Sprites()) {
            if ((s.slot == 18 || s.slot == 19) && s.h == 128) {
                body.push_back(s);
            }
        }
        return body;
    }
    static int AimFrom(const Enemy* form, const GameObject* ship)
    {
        Point own, target;
        form->GetCenter(&own);
        ship->GetCenter(&target);
        return AngleDeg(own.x, own.y, target.x, target.y);
    }
    static float CentreX(const EnemyShot* s)
    {
        Point c;
        s->GetCenter(&c);
        return static_cast<float>(c.x);
    }
    // A first form stopped in the barrage, its entry skipped.
    BossL2Form1* FirstFormAtTheTop()
    {
        auto* form = static_cast<BossL2Form1*>(Boss::Create(PriorityEnemy, kParam));
        form->y = 40.0f;
        form->speed = 60.0f;
        form->frame = 3;
        form->stateIndex = 1;
        return form;
    }
};

TEST_F(BossL2FormsTest, CreateOnLevelTwoStartsTheLevelTwoChainAboveTheTopCentre)
{
    auto* form = dynamic_cast<BossL2Form1*>(Boss::Create(PriorityEnemy, kParam));
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(IsLive(form));
    EXPECT_EQ(form->priority, PriorityEnemy);
    EXPECT_FLOAT_EQ(form->x, 256.0f);
    EXPECT_FLOAT_EQ(form->y, -128.0f);
    EXPECT_EQ(form->w, 128);
    EXPECT_EQ(form->scoreValue, 2000);
    EXPECT_EQ(form->type, TaskType::Enemy);
    // Its entry is the level-0 one: down, six frame changes, then the standing cell.
    int frames = 0;
    while (form->stateIndex == 0 && frames < 200) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 2 + 5 * 21);
    EXPECT_NEAR(form->y, 40.0f, 8.0f);
    EXPECT_EQ(form->frame, 3);
}

TEST_F(BossL2FormsTest, TargetSecondsSpreadByForm)
{
    struct Case {
        const char* form;
        int param;
        int low, high;  // both included, from clock 30
    } cases[] = {
        {"first", 20, 47, 52},
        {"second", 45, 70, 79},
        {"third", 30, 52, 67},
        {"first without a target", 0, 0, 0},
    };
    clock->seconds = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        int low = 1000, high = -1000;
        for (int i = 0; i < 400; ++i) {
            Task* t = c.form[0] == 'f'   ? Boss::Create(PriorityEnemy, c.param)
                      : c.form[0] == 's' ? BossL2Form2::Create(PriorityEnemy, c.param, 256.0f, 0.0f)
                                         : BossL2Form3::Create(PriorityEnemy, c.param, 256.0f, 0.0f);
            int target = static_cast<Enemy*>(t)->targetSecond;
            low = std::min(low, target);
            high = std::max(high, target);
            g_taskList->Kill(t);
        }
        EXPECT_EQ(low, c.low);
        EXPECT_EQ(high, c.high);
        Step();
    }
}

TEST_F(BossL2FormsTest, FirstFormWideFanAlternatesEdgesAndStretchesRestingShots)
{
    StandingShip* ship = StandingShip::Create(276.0f, 376.0f);
    BossL2Form1* form = FirstFormAtTheTop();
    Sounds sounds;
    std::vector<int> stepFrames;
    int summoned = 0;
    for (int frame = 1; form->stateIndex == 1; ++frame) {
        int n = form->stepCounter;
        auto shots = Frame(&sounds);
        summoned += static_cast<int>(TakeSummoned<Enemy2>().size());
        if (shots.empty()) {
            continue;
        }
        SCOPED_TRACE(n);
        stepFrames.push_back(frame);
        auto large = OfClass<EnemyShot6>(shots);
        ASSERT_EQ(large.size(), 16u);
        for (int k = 0; k < 4; ++k) {
            EXPECT_FLOAT_EQ(large[4 * k]->limit, 160.0f + 30 * k);
            EXPECT_EQ(Directions(std::vector<EnemyShot6*>(large.begin() + 4 * k, large.begin() + 4 * k + 4)),
                      (std::vector<int>{Norm(180 + 15 * n), Norm(225 + 15 * n), Norm(360 - 15 * n),
                                        Norm(315 - 15 * n)}));
        }
        auto resting = OfClass<EnemyShot2>(shots);
        int aim = AimFrom(form, ship);
        bool pairs = n % 2 == 0;
        ASSERT_EQ(resting.size(), pairs ? 12u : 18u);
        bool fromLeft = n % 4 == 0 || n % 4 == 3;
        for (size_t i = 0; i < resting.size(); ++i) {
            EXPECT_NEAR(CentreX(resting[i]), fromLeft ? form->x : form->x + 128, 4.0f);
            EXPECT_EQ(resting[i]->cell, pairs ? 0 : 1);
        }
        if (pairs) {
            for (int i = 0; i < 6; ++i) {
                EXPECT_EQ(resting[2 * i]->direction, Norm(aim - 20));
                EXPECT_EQ(resting[2 * i + 1]->direction, Norm(aim + 20));
                EXPECT_FLOAT_EQ(resting[2 * i]->accel, 80.0f + 20 * i);
            }
        } else {
            for (int a = 0; a < 3; ++a) {
                for (int i = 0; i < 6; ++i) {
                    EXPECT_EQ(resting[6 * a + i]->direction, Norm(aim + 30 - 30 * a));
                    EXPECT_FLOAT_EQ(resting[6 * a + i]->accel, 80.0f + 20 * i);
                }
            }
        }
    }
    ASSERT_EQ(stepFrames.size(), 13u);
    for (size_t i = 1; i < stepFrames.size(); ++i) {
        EXPECT_EQ(stepFrames[i] - stepFrames[i - 1], 6) << "4 ticks apart";
    }
    EXPECT_EQ(sounds[Id(SoundEffectId::BossShot)], 13);
    EXPECT_EQ(summoned, 0);
    EXPECT_EQ(form->stateIndex, 2);
    EXPECT_EQ(form->stepCounter, 0);
}

TEST_F(BossL2FormsTest, FirstFormSpiralsRunOnAcrossTheThreeSweepStates)
{
    StandingShip* ship = StandingShip::Create(276.0f, 376.0f);
    BossL2Form1* form = FirstFormAtTheTop();
    while (form->stateIndex == 1) {
        Frame();
    }
    Sounds sounds;
    int summoned = 0;
    int expectedN = 0;
    std::map<int, int> firstStepOfState;
    while (form->stateIndex != 1) {
        int state = form->stateIndex;
        int n = form->stepCounter;
        auto shots = Frame(&sounds);
        summoned += static_cast<int>(TakeSummoned<Enemy2>().size());
        if (shots.empty()) {
            continue;
        }
        SCOPED_TRACE(n);
        ASSERT_EQ(n, expectedN++) << "the step counter is never reset between sweeps";
        firstStepOfState.try_emplace(state, n);
        auto streams = OfClass<EnemyShot1>(shots);
        if (n % 10 == 4 || n % 10 == 5) {
            ASSERT_EQ(streams.size(), 1u);
            EXPECT_EQ(streams[0]->direction, AimFrom(form, ship));
            EXPECT_FLOAT_EQ(streams[0]->speed, 80.0f);
        } else {
            ASSERT_EQ(streams.size(), 2u);
            EXPECT_EQ(Directions(streams), (std::vector<int>{Norm(360 - 5 * n), Norm(180 + 5 * n)}));
            EXPECT_FLOAT_EQ(streams[0]->speed, 160.0f);
        }
    }
    EXPECT_EQ(firstStepOfState.size(), 3u);
    EXPECT_EQ(firstStepOfState[2], 0);
    EXPECT_GT(firstStepOfState[3], 0);
    EXPECT_GT(firstStepOfState[4], firstStepOfState[3]);
    EXPECT_TRUE(sounds.empty()) << "the spirals are silent";
    EXPECT_EQ(summoned, 0) << "the sweeps call in nothing";
    EXPECT_EQ(form->lap, 1);
    EXPECT_EQ(form->stepCounter, 0) << "reset when Return ends";
}

TEST_F(BossL2FormsTest, FirstFormHomingBurstCallsInTwoKindTwoEnemiesOnItsFirstStep)
{
    StandingShip* ship = StandingShip::Create(276.0f, 376.0f);
    BossL2Form1* form = FirstFormAtTheTop();
    form->lap = 1;
    Sounds sounds;
    std::vector<int> stepFrames;
    std::vector<Summon> summons;
    for (int frame = 1; form->stateIndex == 1; ++frame) {
        int n = form->stepCounter;
        auto shots = Frame(&sounds);
        auto called = TakeSummoned<Enemy2>();
        summons.insert(summons.end(), called.begin(), called.end());
        if (shots.empty()) {
            EXPECT_TRUE(called.empty());
            continue;
        }
        SCOPED_TRACE(n);
        stepFrames.push_back(frame);
        EXPECT_EQ(called.size(), n == 0 ? 2u : 0u);
        auto homing = OfClass<EnemyShot7>(shots);
        ASSERT_EQ(homing.size(), 2u);
        EXPECT_LE(Gap(homing[0]->direction, 180 + 45 * n), 1);
        EXPECT_LE(Gap(homing[1]->direction, 360 - 45 * n), 1);
        EXPECT_FLOAT_EQ(homing[0]->accel, 80.0f);
        auto large = OfClass<EnemyShot6>(shots);
        ASSERT_EQ(large.size(), 5u);
        int aim = AimFrom(form, ship);
        EXPECT_GE(form->aim, aim - 20);
        EXPECT_LT(form->aim, aim + 20);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(large[i]->direction, Norm(form->aim)) << "the wandering aim is kept";
            EXPECT_FLOAT_EQ(large[i]->limit, 260.0f + 10 * i);
        }
    }
    ASSERT_EQ(stepFrames.size(), 5u);
    for (size_t i = 1; i < stepFrames.size(); ++i) {
        EXPECT_EQ(stepFrames[i] - stepFrames[i - 1], 64) << "one second apart";
    }
    EXPECT_EQ(sounds[Id(SoundEffectId::BossShot)], 5);
    ASSERT_EQ(summons.size(), 2u);
    EXPECT_FLOAT_EQ(summons[0].x, 160.0f);
    EXPECT_EQ(summons[0].target, kHeldSecond + 2);
    EXPECT_FLOAT_EQ(summons[1].x, 432.0f);
    EXPECT_EQ(summons[1].target, kHeldSecond + 4);
}

TEST_F(BossL2FormsTest, FirstFormSweepingStreamStepByStep)
{
    StandingShip* ship = StandingShip::Create(276.0f, 376.0f);
    BossL2Form1* form = FirstFormAtTheTop();
    // Far from the left edge and slow, so that the sweep goes on through every step read.
    form->lap = 1;
    form->stateIndex = 2;
    form->x = 300.0f;
    form->speed = 10.0f;
    form->direction = 180;
    struct Case {
        int n;
        int offset;  // from the aim taken at the group's first step
        size_t corners;
        float timer;
    } cases[] = {
        {0, -9, 0, 3.0f}, {1, -6, 0, 3.0f},  {2, -3, 0, 3.0f},  {3, 0, 0, 27.0f},  {4, -3, 0, 3.0f},
        {5, -6, 0, 3.0f}, {6, -9, 0, 3.0f},  {7, -12, 0, 23.0f}, {23, -12, 0, 7.0f}, {24, -9, 0, 3.0f},
        {27, 0, 0, 6.0f}, {30, -9, 0, 3.0f}, {31, -12, 4, 6.0f}, {40, -9, 4, 3.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        form->stepCounter = c.n;
        form->attackTimer = -1.0f;
        form->aim = 100;  // a group's later steps keep the aim its first step took
        Sounds sounds;
        auto shots = OfClass<EnemyShot5>(Frame(&sounds));
        int aim = c.n % 8 == 0 ? AimFrom(form, ship) : 100;
        ASSERT_EQ(shots.size(), 1 + c.corners);
        EXPECT_EQ(shots[0]->direction, Norm(aim + c.offset));
        EXPECT_FLOAT_EQ(shots[0]->speed, 360.0f);
        for (size_t i = 1; i < shots.size(); ++i) {
            EXPECT_EQ(shots[i]->direction, Norm(aim));
            EXPECT_FLOAT_EQ(shots[i]->accel, 500.0f);
            EXPECT_FLOAT_EQ(shots[i]->limit, 160.0f);
            EXPECT_LT(shots[i]->speed, 360.0f) << "they brake";
        }
        EXPECT_FLOAT_EQ(form->attackTimer, c.timer);
        EXPECT_EQ(form->stepCounter, c.n + 1);
        EXPECT_TRUE(sounds.empty());
    }
    EXPECT_EQ(form->stateIndex, 2);
}

TEST_F(BossL2FormsTest, SecondFormCyclesThreePatternsAndCallsInKindOneOnlyInTheStream)
{
    StandingShip::Create(276.0f, 376.0f);
    auto* form = static_cast<BossL2Form2*>(BossL2Form2::Create(PriorityEnemy, kParam, 140.0f, -60.0f));
    for (int i = 0; i < 2000 && form->stateIndex == 0; ++i) {
        Frame();
    }
    ASSERT_EQ(form->stateIndex, 1);
    EXPECT_NEAR(form->x + 64, 320.0f, 3.0f);
    EXPECT_NEAR(form->y + 64, 120.0f, 3.0f);

    struct Tally {
        std::map<std::string, int> shots;
        Sounds sounds;
        std::vector<float> summonX;
        std::vector<int> summonSteps;
    } tallies[3];
    std::vector<int> order;
    bool sawSinglePose = false, sawWidePose = false;
    for (int frame = 1; frame < 8000 && order.size() < 4; ++frame) {
        int pattern = form->lap;
        int stepBefore = form->stepCounter;
        if (order.empty() || order.back() != pattern) {
            order.push_back(pattern);
        }
        Tally& t = tallies[pattern];
        auto shots = Frame(&t.sounds);
        for (const Summon& s : TakeSummoned<Enemy1>()) {
            t.summonX.push_back(s.x);
            t.summonSteps.push_back(stepBefore);
        }
        t.shots["1"] += OfClass<EnemyShot1>(shots).size();
        t.shots["2"] += OfClass<EnemyShot2>(shots).size();
        t.shots["5"] += OfClass<EnemyShot5>(shots).size();
        t.shots["6"] += OfClass<EnemyShot6>(shots).size();
        t.shots["7"] += OfClass<EnemyShot7>(shots).size();
        if (pattern == 1 && stepBefore == 0 && !shots.empty()) {
            // The opening ring: 36 shots 10 degrees apart from -10, in a 180, 200, 180, 100,
            // 100, 100 speed rhythm.
            auto ring = OfClass<EnemyShot2>(shots);
            ASSERT_EQ(ring.size(), 36u);
            static constexpr float kSpeeds[6] = {180.0f, 200.0f, 180.0f, 100.0f, 100.0f, 100.0f};
            for (int i = 0; i < 36; ++i) {
                EXPECT_EQ(ring[i]->direction, Norm(10 * i - 10));
                EXPECT_FLOAT_EQ(ring[i]->speed, kSpeeds[i % 6]);
            }
        }
        if (pattern == 2) {
            auto body = BodySprites();
            if (stepBefore == 0) {
                ASSERT_EQ(body.size(), 1u);
                EXPECT_EQ(body[0].srcY, 128);
                sawSinglePose = true;
            } else {
                ASSERT_EQ(body.size(), 2u);
                EXPECT_EQ(body[0].x, static_cast<int>(form->x) - 32);
                EXPECT_EQ(body[1].w, 64);
                sawWidePose = true;
            }
        }
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(tallies[0].shots["5"], 241 * 2);
    EXPECT_EQ(tallies[0].summonX, (std::vector<float>{160.0f, 432.0f, 160.0f, 432.0f}));
    EXPECT_EQ(tallies[0].summonSteps, (std::vector<int>{0, 60, 120, 180}));
    EXPECT_TRUE(tallies[0].sounds.empty());
    EXPECT_EQ(tallies[1].shots["2"], 36 + 1 + 3 + 15);
    EXPECT_TRUE(tallies[1].summonX.empty());
    EXPECT_TRUE(tallies[1].sounds.empty());
    EXPECT_EQ(tallies[2].shots["2"], 5 * 24);
    EXPECT_EQ(tallies[2].shots["1"], 3 * 12);
    EXPECT_EQ(tallies[2].shots["6"], 5 * 4);
    EXPECT_EQ(tallies[2].shots["7"], 5 * 2);
    EXPECT_TRUE(tallies[2].summonX.empty());
    EXPECT_EQ(tallies[2].sounds[Id(SoundEffectId::BossVoice)], 1);
    EXPECT_EQ(tallies[2].sounds[Id(SoundEffectId::BossHitA)], 5);
    EXPECT_EQ(tallies[2].sounds[Id(SoundEffectId::BossHitB)], 3);
    EXPECT_EQ(tallies[2].sounds[Id(SoundEffectId::BossShot)], 5);
    EXPECT_TRUE(sawSinglePose);
    EXPECT_TRUE(sawWidePose);
}

TEST_F(BossL2FormsTest, SecondFormOpenBarrageStepByStep)
{
    StandingShip* ship = StandingShip::Create(276.0f, 376.0f);
    auto* form = static_cast<BossL2Form2*>(BossL2Form2::Create(PriorityEnemy, kParam, 256.0f, 56.0f));
    Frame();
    ASSERT_EQ(form->stateIndex, 1);
    form->lap = 2;
    int aim = AimFrom(form, ship);
    for (int n = 1; n <= 13; ++n) {
        SCOPED_TRACE(n);
        form->stepCounter = n;
        form->attackTimer = -1.0f;
        auto shots = Frame();
        if (n <= 5) {
            // Two rings of twelve from the sides, at rest, each step accelerating harder.
            int m = n % 3;
            auto rings = OfClass<EnemyShot2>(shots);
            ASSERT_EQ(rings.size(), 24u);
            for (int i = 0; i < 12; ++i) {
                for (int side = 0; side < 2; ++side) {
                    EnemyShot2* s = rings[2 * i + side];
                    EXPECT_EQ(s->direction, Norm(30 * i + 3 * m));
                    EXPECT_EQ(s->cell, m);
                    EXPECT_FLOAT_EQ(s->accel, 60.0f + 50 * n);
                    EXPECT_NEAR(CentreX(s), side == 0 ? form->x : form->x + 128, 2.0f);
                }
            }
            EXPECT_FLOAT_EQ(form->attackTimer, 10.0f);
        } else if (n <= 8) {
            auto lines = OfClass<EnemyShot1>(shots);
            ASSERT_EQ(lines.size(), 12u);
            int s = 10 * (n - 5);
            int angles[] = {aim - s, aim, aim + s};
            for (int a = 0; a < 3; ++a) {
                for (int j = 0; j < 4; ++j) {
                    EXPECT_EQ(lines[4 * a + j]->direction, Norm(angles[a] + 2 * j));
                    EXPECT_FLOAT_EQ(lines[4 * a + j]->accel, 300.0f);
                }
            }
            EXPECT_FLOAT_EQ(form->attackTimer, 30.0f);
        } else {
            EXPECT_EQ(Directions(OfClass<EnemyShot6>(shots)),
                      (std::vector<int>{220 + 2 * n, 300 - 2 * n, 320 - 2 * n, 240 + 2 * n}));
            auto homing = OfClass<EnemyShot7>(shots);
            ASSERT_EQ(homing.size(), 2u);
            EXPECT_LE(Gap(homing[0]->direction, 210), 1);
            EXPECT_LE(Gap(homing[1]->direction, 330), 1);
            EXPECT_FLOAT_EQ(homing[0]->accel, 80.0f);
            EXPECT_FLOAT_EQ(form->attackTimer, 30.0f);
        }
    }
    form->stepCounter = 14;
    form->attackTimer = -1.0f;
    EXPECT_TRUE(Frame().empty());
    EXPECT_EQ(form->lap, 0) << "n = 14 completes the pattern";
    EXPECT_TRUE(LiveOfClass<Enemy1>().empty());
}

TEST_F(BossL2FormsTest, ThirdFormCyclesItsFourHeavierPatterns)
{
    StandingShip* ship = StandingShip::Create(276.0f, 376.0f);
    auto* form = static_cast<BossL2Form3*>(BossL2Form3::Create(PriorityEnemy, kParam, 256.0f, 56.0f));
    std::vector<int> order;
    std::map<int, std::map<std::string, int>> shots;
    std::map<int, Sounds> sounds;
    std::vector<size_t> homingPerStep;
    bool tinted = true;
    for (int frame = 0; frame < 12000 && order.size() < 5; ++frame) {
        int pattern = form->pattern;
        int n = form->stepCounter;
        if (order.empty() || order.back() != pattern) {
            order.push_back(pattern);
        }
        int key = static_cast<int>(order.size()) - 1;
        auto fresh = Frame(&sounds[key]);
        for (const DrawnSprite& s : BodySprites()) {
            tinted = tinted && s.colour == 0xFFFF8080u;
        }
        auto homing = OfClass<EnemyShot7>(fresh);
        if (key == 0 && !homing.empty()) {
            homingPerStep.push_back(homing.size());
            for (EnemyShot7* s : homing) {
                EXPECT_FLOAT_EQ(s->accel, 80.0f);
                EXPECT_NEAR(s->speed, 100.0f, 2.0f);
            }
            static constexpr int kHomingAngles[6] = {180, 360, 225, 315, 270, 270};
            for (size_t i = 0; i < homing.size() && i < 6; ++i) {
                EXPECT_LE(Gap(homing[i]->direction, kHomingAngles[i]), 1) << i;
            }
        }
        if (pattern == 2 && n % 2 == 1 && !fresh.empty()) {
            int aim = AimFrom(form, ship);
            auto lines = OfClass<EnemyShot1>(fresh);
            ASSERT_EQ(lines.size(), 8u);
            for (int j = 0; j < 4; ++j) {
                EXPECT_EQ(lines[2 * j]->direction, Norm(aim + 5 + j));
                EXPECT_EQ(lines[2 * j + 1]->direction, Norm(aim - 5 - j));
                EXPECT_FLOAT_EQ(lines[2 * j]->accel, 0.0f);
            }
        }
        if (pattern == 2 && !fresh.empty()) {
            EXPECT_FLOAT_EQ(form->attackTimer, n == 7 ? 120.0f : (8 - n) * 5.0f);
        }
        if (pattern == 3 && !fresh.empty()) {
            // Two bursts fanning out by a degree a shot, in opposite senses.
            auto bursts = OfClass<EnemyShot5>(fresh);
            ASSERT_EQ(bursts.size(), 8u);
            for (int i = 1; i < 4; ++i) {
                EXPECT_EQ(bursts[i]->direction, Norm(bursts[0]->direction + i));
                EXPECT_EQ(bursts[4 + i]->direction, Norm(bursts[4]->direction - i));
                EXPECT_NEAR(bursts[i]->speed - bursts[0]->speed, 10.0f * i, 0.01f);
            }
            EXPECT_EQ(OfClass<EnemyShot1>(fresh).size(), n <= 160 && n % 8 < 4 ? 4u : 0u);
        }
        shots[key]["1"] += OfClass<EnemyShot1>(fresh).size();
        shots[key]["5"] += OfClass<EnemyShot5>(fresh).size();
        shots[key]["6"] += OfClass<EnemyShot6>(fresh).size();
        shots[key]["7"] += homing.size();
    }
    EXPECT_TRUE(tinted);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(homingPerStep, (std::vector<size_t>{4, 4, 6}));
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        EXPECT_EQ(shots[side]["6"], 2 + 4 + 3 + 4 * 2);
        EXPECT_EQ(shots[side]["7"], 4 + 4 + 6);
        EXPECT_EQ(sounds[side][Id(SoundEffectId::BossShot)], 8) << "every step, n = 7 too";
    }
    EXPECT_EQ(shots[2]["5"], 4 * 48);
    EXPECT_EQ(shots[2]["1"], 4 * 8);
    EXPECT_EQ(sounds[2][Id(SoundEffectId::BossHitA)], 4);
    EXPECT_EQ(sounds[2][Id(SoundEffectId::BossHitC)], 4);
    EXPECT_EQ(shots[3]["5"], 162 * 8);
    EXPECT_EQ(shots[3]["1"], 81 * 4) << "four steps on, four off";
    EXPECT_TRUE(sounds[3].empty());
}

TEST_F(BossL2FormsTest, ChainHandsOverAlongTheThreeFormsAndTheLastEndsTheStage)
{
    ClearCountingShip* ship = ClearCountingShip::Create(296.0f, 400.0f);
    // Without a target second the first form is due at once: it bursts when the clock reads 6.
    auto* first = static_cast<BossL2Form1*>(Boss::Create(PriorityEnemy, 0));
    first->y = 40.0f;
    first->stateIndex = 1;
    StepAt(5);
    ASSERT_TRUE(IsLive(first));
    float hx = first->x, hy = first->y;
    StepAt(6);
    EXPECT_FALSE(IsLive(first));
    EXPECT_EQ(g_scoreTable->GetGauge(), 92);
    auto seconds = LiveOfClass<BossL2Form2>();
    ASSERT_EQ(seconds.size(), 1u);
    BossL2Form2* second = seconds[0];
    EXPECT_GE(second->targetSecond, 6 + 45 - 5);
    EXPECT_LE(second->targetSecond, 6 + 45 + 4);
    int towardCentre = AngleDeg(static_cast<int>(hx + 64), static_cast<int>(hy + 64), 320, 120);
    EXPECT_NEAR(second->x, hx + g_cosTable[towardCentre] * 80.0f * kFrameTime, 1e-3) << "built at the old place";
    EXPECT_EQ(ship->clears, 0);

    int secondTarget = second->targetSecond;
    second->Damage(1);
    StepAt(secondTarget);
    EXPECT_FALSE(IsLive(second));
    EXPECT_EQ(LiveOfType(TaskType::FallingItem).size(), 10u);
    auto thirds = LiveOfClass<BossL2Form3>();
    ASSERT_EQ(thirds.size(), 1u);
    EXPECT_GE(thirds[0]->targetSecond, secondTarget + 30 - 8);
    EXPECT_LE(thirds[0]->targetSecond, secondTarget + 30 + 7);
    EXPECT_EQ(ship->clears, 0);

    BossL2Form3* third = thirds[0];
    third->Damage(1);
    StepAt(third->targetSecond - 1);
    EXPECT_FALSE(IsLive(third));
    EXPECT_EQ(ship->clears, 1);
    EXPECT_TRUE(LiveOfClass<Boss>().empty()) << "the last form hands over to nothing";
}

}  // namespace
