// The three level-0 boss forms: movement, attack patterns and sounds, frame by frame. The clock
// is held well before every target second so that the boss rule stays out of the way.
#include <algorithm>
#include <map>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL0Form1.h"
#include "game/bosses/BossL0Form2.h"
#include "game/bosses/BossL0Form3.h"
#include "game/enemies/Enemy2.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"
#include "game/shots/EnemyShot7.h"
#include "game/scenes/SceneManager.h"
#include "tests/game/bosses/BossFixture.h"

namespace {

constexpr int kHeldSecond = 10;
constexpr int kParam = 100;  // targets near second 110

int Norm(int angle)
{
    return ((angle % 360) + 360) % 360;
}

std::vector<int> Directions(const std::vector<EnemyShot*>& shots)
{
    std::vector<int> out;
    for (EnemyShot* s : shots) {
        out.push_back(s->direction);
    }
    return out;
}

// What one frame fired, read at once: shots that leave the field are deleted later.
struct Volley {
    size_t shot1, shot5, shot6, shot7;
    std::vector<int> directions;
};

// Which sounds one frame requested.
struct Sounds {
    std::map<int, int> frames;  // id -> frames that requested it
};

class BossL0FormsTest : public BossFixture {
protected:
    void SetUp() override
    {
        BossFixture::SetUp();
        g_sceneManager->SetLevel(0);
    }
    std::vector<EnemyShot*> Frame(Sounds* sounds = nullptr)
    {
        ClearSoundRequests();
        auto shots = StepAt(kHeldSecond);
        if (sounds) {
            for (int id = 0; id < kSoundEffectCount; ++id) {
                if (SoundRequested(id)) {
                    sounds->frames[id] += 1;
                }
            }
        }
        return shots;
    }
    // The 128-wide or 64-wide body sprites from the boss slots in the last frame.
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
    static Volley Read(const std::vector<EnemyShot*>& shots)
    {
        return {OfClass<EnemyShot1>(shots).size(), OfClass<EnemyShot5>(shots).size(), OfClass<EnemyShot6>(shots).size(),
                OfClass<EnemyShot7>(shots).size(), Directions(shots)};
    }
    static int AimFrom(const Enemy* form, const GameObject* ship)
    {
        Point own, target;
        form->GetCenter(&own);
        ship->GetCenter(&target);
        return AngleDeg(own.x, own.y, target.x, target.y);
    }
};

TEST_F(BossL0FormsTest, FirstFormComesDownAnimatingAndStopsNearTheTop)
{
    auto* form = static_cast<BossL0Form1*>(Boss::Create(PriorityEnemy, kParam));
    // Cells 0, 1, 2, 0, ...: the first change after about a tick, then every 21 frames.
    struct Drawn {
        int frame, slot, srcX;
    } expected[] = {{1, 18, 0}, {2, 18, 128}, {22, 18, 128}, {23, 19, 0}, {43, 19, 0}, {44, 18, 0}};
    int frames = 0;
    float lastY = form->y;
    for (const Drawn& d : expected) {
        while (frames < d.frame) {
            Frame();
            ++frames;
            ASSERT_GT(form->y, lastY) << "it keeps coming down";
            lastY = form->y;
        }
        auto body = BodySprites();
        ASSERT_EQ(body.size(), 1u) << frames;
        EXPECT_EQ(body[0].slot, d.slot) << frames;
        EXPECT_EQ(body[0].srcX, d.srcX) << frames;
        EXPECT_EQ(body[0].x, static_cast<int>(form->x));
        EXPECT_EQ(body[0].y, static_cast<int>(form->y));
    }
    while (form->stateIndex == 0 && frames < 200) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 2 + 5 * 21) << "the sixth change ends the entry";
    EXPECT_FLOAT_EQ(form->x, 256.0f);
    EXPECT_NEAR(form->y, 40.0f, 8.0f);
    EXPECT_EQ(form->frame, 3);
    EXPECT_FLOAT_EQ(form->speed, 60.0f);
    EXPECT_EQ(BodySprites()[0].slot, 19);
    EXPECT_EQ(BodySprites()[0].srcX, 128) << "the standing cell";
}

TEST_F(BossL0FormsTest, FirstFormLapsThroughBarrageAndSweeps)
{
    StandingShip* ship = StandingShip::Create(276.0f, 376.0f);
    auto* form = static_cast<BossL0Form1*>(Boss::Create(PriorityEnemy, kParam));
    while (form->stateIndex == 0) {
        Frame();
    }
    float barrageY = form->y;

    // Lap 0's barrage: the fan, five mirrored pairs of large shots 6 frames apart.
    Sounds sounds;
    std::vector<int> stepFrames, left, right;
    for (int frame = 1; form->stateIndex == 1; ++frame) {
        auto shots = OfClass<EnemyShot6>(Frame(&sounds));
        if (!shots.empty()) {
            ASSERT_EQ(shots.size(), 2u);
            stepFrames.push_back(frame);
            left.push_back(shots[0]->direction);
            right.push_back(shots[1]->direction);
        }
        ASSERT_FLOAT_EQ(form->y, barrageY) << "no movement in the barrage";
    }
    EXPECT_EQ(stepFrames, (std::vector<int>{2, 8, 14, 20, 26}));
    EXPECT_EQ(left, (std::vector<int>{180, 225, 270, 315, 0}));
    EXPECT_EQ(right, (std::vector<int>{0, 315, 270, 225, 180}));
    EXPECT_EQ(sounds.frames[static_cast<int>(SoundEffectId::BossShot)], 5);
    EXPECT_EQ(form->direction, 180);
    EXPECT_EQ(form->stateIndex, 2);

    // Each sweep state opens with the aimed three-shot spread, then the four-shot spread.
    struct Sweep {
        int state;
        int nextState;
    } sweeps[] = {{2, 3}, {3, 4}, {4, 1}};
    // The kind-2 enemies called in on lap 0 are counted and taken away before they fire, so
    // that only the boss's own volleys are read.
    int summoned = 0;
    auto takeSummoned = [&] {
        for (Task* t = g_taskList->First(); t; t = t->next) {
            if (t->state == TaskState::Live && dynamic_cast<Enemy2*>(t)) {
                ++summoned;
                g_taskList->Kill(t);
            }
        }
    };
    for (const Sweep& s : sweeps) {
        SCOPED_TRACE(s.state);
        std::vector<Volley> volleys;
        std::vector<int> aims;
        float lastX = form->x;
        while (form->stateIndex == s.state) {
            auto shots = Frame();
            takeSummoned();
            if (!shots.empty()) {
                volleys.push_back(Read(shots));
                aims.push_back(AimFrom(form, ship));
            }
            if (s.state == 3) {
                ASSERT_GE(form->x, lastX);
            } else {
                ASSERT_LE(form->x, lastX);
            }
            lastX = form->x;
        }
        ASSERT_GE(volleys.size(), 2u);
        EXPECT_EQ(volleys[0].shot1, 3u);
        EXPECT_EQ(volleys[0].directions, (std::vector<int>{Norm(aims[0] - 30), Norm(aims[0]), Norm(aims[0] + 30)}));
        EXPECT_EQ(volleys[1].shot5, 4u);
        EXPECT_EQ(volleys[1].directions, (std::vector<int>{Norm(aims[1] - 40), Norm(aims[1] - 20), Norm(aims[1] + 20),
                                                            Norm(aims[1] + 40)}));
        EXPECT_EQ(form->stateIndex, s.nextState);
    }
    EXPECT_LT(form->x, 256.0f);
    EXPECT_EQ(form->lap, 1);
    EXPECT_EQ(summoned, 2) << "two kind-2 enemies on the first lap";

    // Lap 1's barrage: the homing pair, three steps 64 frames apart.
    stepFrames.clear();
    sounds = {};
    for (int frame = 1; form->stateIndex == 1; ++frame) {
        auto shots = Frame(&sounds);
        if (!shots.empty()) {
            ASSERT_EQ(OfClass<EnemyShot7>(shots).size(), 2u);
            stepFrames.push_back(frame);
        }
    }
    EXPECT_EQ(stepFrames.size(), 3u);
    EXPECT_EQ(stepFrames[1] - stepFrames[0], 64);
    EXPECT_EQ(stepFrames[2] - stepFrames[1], 64);
    EXPECT_EQ(sounds.frames[static_cast<int>(SoundEffectId::BossShot)], 3);

    // Lap 1's sweeps: twin streams of eight, two lines of four speeds.
    std::vector<EnemyShot*> streams;
    sounds = {};
    while (streams.empty()) {
        streams = Frame(&sounds);
    }
    ASSERT_EQ(OfClass<EnemyShot1>(streams).size(), 8u);
    int aim = AimFrom(form, ship);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(streams[i]->direction, Norm(i < 4 ? aim - 20 : aim + 20));
        EXPECT_FLOAT_EQ(streams[i]->accel, 20.0f * (i % 4));
    }
    EXPECT_EQ(sounds.frames[static_cast<int>(SoundEffectId::BossHitC)], 1);
}

TEST_F(BossL0FormsTest, SecondFormStopsOnlyStrictlyInsideTheWindowAroundItsPoint)
{
    struct Case {
        float cx, cy;
        bool arrives;
    } cases[] = {
        {320.5f, 119.0f, true}, {322.9f, 117.5f, true}, {317.0f, 120.0f, false},
        {320.0f, 123.0f, false}, {323.0f, 120.0f, false}, {320.0f, 117.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << ", " << c.cy);
        auto* form = static_cast<BossL0Form2*>(BossL0Form2::Create(PriorityEnemy, kParam, c.cx - 64, c.cy - 64));
        form->speed = 0.0f;  // so that the first frame tests the place it was built at
        Frame();
        EXPECT_EQ(form->stateIndex, c.arrives ? 1 : 0);
        EXPECT_EQ(form->frame, c.arrives ? 3 : 0);
        g_taskList->Kill(form);
        Frame();
    }
}

TEST_F(BossL0FormsTest, SecondFormFliesToItsPointAndCyclesThreePatterns)
{
    StandingShip::Create(276.0f, 376.0f);
    auto* form = static_cast<BossL0Form2*>(BossL0Form2::Create(PriorityEnemy, kParam, 140.0f, -60.0f));
    for (int i = 0; i < 2000 && form->stateIndex == 0; ++i) {
        Frame();
    }
    ASSERT_EQ(form->stateIndex, 1);
    EXPECT_NEAR(form->x + 64, 320.0f, 3.0f);
    EXPECT_NEAR(form->y + 64, 120.0f, 3.0f);

    struct Tally {
        int firstShotFrame = 0;
        std::map<std::string, int> shots;
        Sounds sounds;
    } tallies[3];
    std::vector<int> order;
    bool sawSinglePose = false, sawWidePose = false;
    for (int frame = 1; frame < 6000 && order.size() < 4; ++frame) {
        int pattern = form->lap;
        int stepBefore = form->stepCounter;
        if (order.empty() || order.back() != pattern) {
            order.push_back(pattern);
        }
        Tally& t = tallies[pattern];
        auto shots = Frame(&t.sounds);
        if (!shots.empty() && t.firstShotFrame == 0) {
            t.firstShotFrame = frame;
        }
        t.shots["1"] += OfClass<EnemyShot1>(shots).size();
        t.shots["2"] += OfClass<EnemyShot2>(shots).size();
        t.shots["5"] += OfClass<EnemyShot5>(shots).size();
        t.shots["6"] += OfClass<EnemyShot6>(shots).size();
        t.shots["7"] += OfClass<EnemyShot7>(shots).size();
        if (pattern == 2) {
            auto body = BodySprites();
            int px = static_cast<int>(form->x), py = static_cast<int>(form->y);
            if (stepBefore == 0) {
                ASSERT_EQ(body.size(), 1u);
                EXPECT_EQ(body[0].slot, 18);
                EXPECT_EQ(body[0].srcY, 128);
                EXPECT_EQ(body[0].srcX, 0);
                sawSinglePose = true;
            } else {
                ASSERT_EQ(body.size(), 2u);
                EXPECT_EQ(body[0].x, px - 32);
                EXPECT_EQ(body[0].srcX, 128);
                EXPECT_EQ(body[1].slot, 19);
                EXPECT_EQ(body[1].x, px + 96);
                EXPECT_EQ(body[1].w, 64);
                EXPECT_EQ(body[1].y, py);
                sawWidePose = true;
            }
        }
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(tallies[0].firstShotFrame, 2) << "the spray starts in the second attack frame";
    EXPECT_EQ(tallies[0].shots["5"], 81);
    EXPECT_TRUE(tallies[0].sounds.frames.empty());
    EXPECT_EQ(tallies[1].shots["2"], 1 + 2 + 6 + 15);
    EXPECT_TRUE(tallies[1].sounds.frames.empty());
    EXPECT_EQ(tallies[2].shots["1"], 10 + 3);
    EXPECT_EQ(tallies[2].shots["6"], 12);
    EXPECT_EQ(tallies[2].shots["7"], 4);
    EXPECT_EQ(tallies[2].sounds.frames[static_cast<int>(SoundEffectId::BossVoice)], 1);
    EXPECT_EQ(tallies[2].sounds.frames[static_cast<int>(SoundEffectId::BossHitA)], 5);
    EXPECT_EQ(tallies[2].sounds.frames[static_cast<int>(SoundEffectId::BossHitB)], 3);
    EXPECT_EQ(tallies[2].sounds.frames[static_cast<int>(SoundEffectId::BossShot)], 3);
    EXPECT_TRUE(sawSinglePose);
    EXPECT_TRUE(sawWidePose);
}

TEST_F(BossL0FormsTest, ThirdFormIsTintedAndDashesTowardThePlayersSide)
{
    StandingShip::Create(126.0f, 376.0f);  // centre x 150, well left of the form
    auto* form = static_cast<BossL0Form3*>(BossL0Form3::Create(PriorityEnemy, kParam, 256.0f, 56.0f));
    Frame();
    ASSERT_EQ(form->stateIndex, 1) << "built on its point, it arrives at once";
    for (const DrawnSprite& s : BodySprites()) {
        EXPECT_EQ(s.colour, 0xFFFF8080u);
    }
    // One dash: speeding up to just over 60 px/s, then slowing to a stop.
    float startX = form->x;
    int frames = 0;
    float top = 0.0f;
    do {
        Frame();
        ++frames;
        top = std::max(top, form->speed);
        ASSERT_FLOAT_EQ(form->y, 56.0f);
    } while (form->speed > 0.0f && frames < 500);
    EXPECT_EQ(form->direction, 180);
    EXPECT_NEAR(startX - form->x, 45.0f, 5.0f);
    EXPECT_NEAR(frames * kFrameTime, 1.5f, 0.1f);
    EXPECT_NEAR(top, 60.0f, 2.0f);
    for (const DrawnSprite& s : BodySprites()) {
        EXPECT_EQ(s.colour, 0xFFFF8080u);
    }
}

TEST_F(BossL0FormsTest, ThirdFormWaitsWithoutAPlayerOnceADashHasEnded)
{
    auto* form = static_cast<BossL0Form3*>(BossL0Form3::Create(PriorityEnemy, kParam, 256.0f, 56.0f));
    Frame();
    ASSERT_EQ(form->stateIndex, 1);
    float heldX = form->x;
    for (int i = 0; i < 300; ++i) {
        EXPECT_TRUE(Frame().empty());
    }
    EXPECT_FLOAT_EQ(form->x, heldX);
    EXPECT_TRUE(BodySprites().empty());
    EXPECT_FALSE(SpritesFrom(7).empty()) << "its target second is still drawn";
    StandingShip::Create(476.0f, 376.0f);
    Frame();
    EXPECT_EQ(BodySprites().size(), 1u);
    EXPECT_EQ(form->direction, 0);
}

TEST_F(BossL0FormsTest, ThirdFormSideBarrageClosesInBesideThePlayer)
{
    StandingShip::Create(276.0f, 376.0f);  // centre (300, 400)
    auto* form = static_cast<BossL0Form3*>(BossL0Form3::Create(PriorityEnemy, kParam, 256.0f, 56.0f));
    form->stateIndex = 1;
    form->speed = 0.0f;  // the first sway frame does not move it
    form->stepCounter = 2;
    form->attackTimer = -1.0f;
    auto third = Frame();
    EXPECT_EQ(OfClass<EnemyShot6>(third).size(), 3u);
    EXPECT_EQ(OfClass<EnemyShot7>(third).size(), 2u);
    EXPECT_EQ(form->leftAim, AngleDeg(320, 120, 236, 400));
    EXPECT_EQ(form->rightAim, AngleDeg(320, 120, 364, 400));
    std::vector<Volley> volleys;
    while (form->pattern == 0) {
        auto shots = Frame();
        if (!shots.empty()) {
            volleys.push_back(Read(shots));
        }
    }
    ASSERT_EQ(volleys.size(), 4u) << "n = 3 to 6; n = 7 fires nothing";
    for (size_t i = 0; i < volleys.size(); ++i) {
        ASSERT_EQ(volleys[i].shot6, 2u);
        EXPECT_EQ(volleys[i].directions,
                  (std::vector<int>{AngleDeg(320, 120, 236, 400), AngleDeg(320, 120, 364, 400)}));
    }
}

TEST_F(BossL0FormsTest, ThirdFormCyclesItsFourPatterns)
{
    StandingShip::Create(276.0f, 376.0f);
    auto* form = static_cast<BossL0Form3*>(BossL0Form3::Create(PriorityEnemy, kParam, 256.0f, 56.0f));
    std::vector<int> order;
    std::map<int, std::map<std::string, int>> shots;
    std::map<int, Sounds> sounds;
    for (int frame = 0; frame < 8000 && order.size() < 5; ++frame) {
        int pattern = form->pattern;
        if (order.empty() || order.back() != pattern) {
            order.push_back(pattern);
        }
        int key = static_cast<int>(order.size()) - 1;
        auto fresh = Frame(&sounds[key]);
        shots[key]["1"] += OfClass<EnemyShot1>(fresh).size();
        shots[key]["5"] += OfClass<EnemyShot5>(fresh).size();
        shots[key]["6"] += OfClass<EnemyShot6>(fresh).size();
        shots[key]["7"] += OfClass<EnemyShot7>(fresh).size();
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 0}));
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        EXPECT_EQ(shots[side]["6"], 2 + 4 + 3 + 4 * 2);
        EXPECT_EQ(shots[side]["7"], 6);
        EXPECT_EQ(sounds[side].frames[static_cast<int>(SoundEffectId::BossShot)], 8) << "every step, n = 7 too";
    }
    EXPECT_EQ(shots[2]["5"], 3 * 24);
    EXPECT_EQ(shots[2]["1"], 3 * 4);
    EXPECT_EQ(sounds[2].frames[static_cast<int>(SoundEffectId::BossHitA)], 3);
    EXPECT_EQ(sounds[2].frames[static_cast<int>(SoundEffectId::BossHitC)], 3);
    EXPECT_EQ(shots[3]["5"], 162 * 8);
    EXPECT_EQ(shots[3]["1"], 11 * 4) << "an arrowhead every 16 steps";
    EXPECT_TRUE(sounds[3].frames.empty());
}

}  // namespace
