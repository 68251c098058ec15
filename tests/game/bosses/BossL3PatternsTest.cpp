// The level-3 forms' attack patterns, step by step: what each step fires, where it aims, what
// it calls in and how the steps are spaced. The clock is held well before every target second.
#include <algorithm>
#include <cmath>
#include <set>

#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL3Form1.h"
#include "game/bosses/BossL3Form2.h"
#include "game/bosses/BossL3Form3.h"
#include "game/bosses/BossL3Form4.h"
#include "game/enemies/Enemy1.h"
#include "game/enemies/Enemy2.h"
#include "game/enemies/Enemy4.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/EnemyShot3.h"
#include "game/shots/EnemyShot4.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/ShotEmitterA.h"
#include "game/shots/ShotEmitterB.h"
#include "tests/game/bosses/BossL3Fixture.h"

namespace {

constexpr int kParam = 100;

std::vector<int> Sorted(std::vector<int> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<int> Angles(std::initializer_list<int> raw)
{
    std::vector<int> out;
    for (int a : raw) {
        out.push_back(Norm(a));
    }
    return Sorted(out);
}

std::vector<EnemyShot2*> OfCell(const std::vector<EnemyShot*>& shots, int cell)
{
    std::vector<EnemyShot2*> found;
    for (EnemyShot* s : shots) {
        if (auto* s2 = dynamic_cast<EnemyShot2*>(s); s2 && s2->cell == cell) {
            found.push_back(s2);
        }
    }
    return found;
}

std::vector<int> DirectionsOf(const std::vector<EnemyShot2*>& shots)
{
    std::vector<int> out;
    for (EnemyShot2* s : shots) {
        out.push_back(s->direction);
    }
    return Sorted(out);
}

class BossL3PatternsTest : public BossL3Fixture {
protected:
    BossL3Form1* RisenFirstForm()
    {
        auto* form = static_cast<BossL3Form1*>(Boss::Create(PriorityEnemy, kParam));
        while (form->stateIndex == 0) {
            Frame();
        }
        return form;
    }
    template <class Form>
    Form* Later(float x = 300.0f)
    {
        return static_cast<Form*>(Form::Create(PriorityEnemy, kParam, x, 100.0f));
    }
};

TEST_F(BossL3PatternsTest, FirstFormCyclesRingsSpreadsAndEmitters)
{
    auto* ship = ClearCountingShip::Create(128.0f, 400.0f);
    BossL3Form1* form = RisenFirstForm();

    // Rings: a step every third frame, the first on the second fight frame.
    int gap = 0;
    auto shots = NextVolley(10, &gap);
    EXPECT_EQ(gap, 2);
    ASSERT_EQ(OfCell(shots, 1).size(), 36u);
    std::vector<int> ring;
    for (int i = 0; i < 36; ++i) {
        ring.push_back(10 * i);
    }
    EXPECT_EQ(DirectionsOf(OfCell(shots, 1)), ring);
    EXPECT_EQ(OfClass<EnemyShot2>(shots)[0]->speed, 200.0f);

    // n = 1: a doubled ring turned by 5 degrees, and the aimed five from centre and corners.
    shots = NextVolley(10, &gap);
    EXPECT_EQ(gap, 3);
    int aim = AimFrom(form, ship);
    std::vector<int> doubled;
    for (int i = 0; i < 36; ++i) {
        doubled.push_back(Norm(10 * i - 2));
        doubled.push_back(Norm(10 * i + 2));
    }
    EXPECT_EQ(DirectionsOf(OfCell(shots, 1)), Sorted(doubled));
    auto aimed = OfCell(shots, 2);
    ASSERT_EQ(aimed.size(), 5u);
    std::set<std::pair<int, int>> origins;
    for (EnemyShot2* s : aimed) {
        EXPECT_EQ(s->direction, Norm(aim));
        Point p;
        s->GetCenter(&p);
        origins.insert({static_cast<int>(std::lround((p.x - form->x) / 24.0f)),
                        static_cast<int>(std::lround((p.y - form->y) / 24.0f))});
    }
    EXPECT_EQ(origins, (std::set<std::pair<int, int>>{{1, 1}, {0, 0}, {2, 0}, {0, 2}, {2, 2}}));

    // n = 2 to 7: eight fast shots, turned by n.
    for (int n = 2; n <= 7; ++n) {
        shots = NextVolley();
        EXPECT_EQ(OfClass<EnemyShot2>(shots).size(), 8u) << n;
        EXPECT_EQ(DirectionsOf(OfCell(shots, 0)),
                  Angles({n, 45 + n, 90 + n, 135 + n, 180 + n, 225 + n, 270 + n, 315 + n}));
    }
    int steps = 8;
    while (form->pattern == 0) {
        if (!Frame().empty()) {
            ++steps;
        }
    }
    EXPECT_EQ(steps, 180);
    EXPECT_EQ(soundFrames, 0) << "the forms make no sound of their own";

    // Spreads: two kind-4 enemies called in at the centre, at the first and last of 8 steps.
    std::vector<Task*> summoned;
    std::vector<int> counts;
    gap = 0;
    while (form->pattern == 1) {
        auto fired = Frame();
        ++gap;
        auto taken = TakeSummons(form);
        for (Task* t : taken) {
            ASSERT_NE(dynamic_cast<Enemy4*>(t), nullptr);
            ASSERT_NEAR(static_cast<Enemy4*>(t)->x, form->x + 24.0f, 8.0f);
            ASSERT_EQ(static_cast<Enemy4*>(t)->targetSecond - kHeldSecond >= 1, true);
        }
        if (!fired.empty()) {
            EXPECT_GT(gap, counts.empty() ? 120 : 10) << "two seconds after the rings, then 10 ticks";
            gap = 0;
            aim = AimFrom(form, ship);
            auto ones = OfClass<EnemyShot1>(fired);
            ASSERT_EQ(ones.size(), fired.size());
            std::vector<int> dirs = Directions(fired);
            if (counts.empty()) {
                EXPECT_EQ(Sorted(dirs), Angles({aim - 40, aim + 40}));
                EXPECT_EQ(taken.size(), 1u);
            } else if (ones.size() == 3) {
                EXPECT_EQ(Sorted(dirs), Angles({aim - 5, aim, aim + 5}));
            } else if (ones.size() == 2) {
                EXPECT_EQ(Sorted(dirs), Angles({aim - 20, aim + 20}));
            } else {
                EXPECT_EQ(Sorted(dirs), Angles({aim - 14, aim - 12, aim - 10, aim - 8, aim - 6, aim - 4, aim + 4, aim + 6,
                                                aim + 8, aim + 10, aim + 12, aim + 14}));
            }
            counts.push_back(static_cast<int>(ones.size()));
            if (counts.size() == 8) {
                EXPECT_EQ(taken.size(), 1u) << "the second kind-4 enemy comes with the last step";
            }
            for (Task* t : taken) {
                summoned.push_back(t);
            }
        }
    }
    EXPECT_EQ(counts.size(), 8u);
    EXPECT_EQ(summoned.size(), 2u);

    // Emitters and stream: four emitters from the corners, then one aimed shot every 4 frames,
    // leaving out every eighth step.
    int framesToEmitters = 0;
    while (LiveOfClass<ShotEmitterA>().empty() && framesToEmitters < 200) {
        Frame();
        ++framesToEmitters;
    }
    auto emitters = LiveOfClass<ShotEmitterA>();
    ASSERT_EQ(emitters.size(), 4u);
    int expectedBase[] = {180, 0, 315, 225};
    int expectedDir[] = {210, 330, 225, 315};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(emitters[i]->baseAngle, expectedBase[i]);
        EXPECT_EQ(emitters[i]->direction, expectedDir[i]);
    }
    TakeSummons(form);
    int streamShots = 0;
    while (form->pattern == 2) {
        auto fired = Frame();
        TakeSummons(form);
        if (!fired.empty()) {
            ASSERT_EQ(fired.size(), 1u);
            EXPECT_EQ(OfCell(fired, 0).size(), 1u);
            EXPECT_EQ(fired[0]->direction, Norm(AimFrom(form, ship)));
            ++streamShots;
        }
    }
    EXPECT_EQ(streamShots, 199 - 25);
    shots = NextVolley(200);
    EXPECT_EQ(OfCell(shots, 1).size(), 36u) << "and the rings again";
}

TEST_F(BossL3PatternsTest, SecondFormFiresSideFansThenAClosingPair)
{
    auto* ship = ClearCountingShip::Create(276.0f, 400.0f);
    auto* form = Later<BossL3Form2>();
    // The first step, on the second frame, places the emitters and fires nothing.
    Frame();
    Frame();
    auto emitters = LiveOfClass<ShotEmitterB>();
    ASSERT_EQ(emitters.size(), 8u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(emitters[2 * i]->x, 128.0f + 7.0f);
        EXPECT_FLOAT_EQ(emitters[2 * i]->y, 40.0f + 100.0f * i + 7.0f);
        EXPECT_EQ(emitters[2 * i]->baseAngle, 180 + 30 * i);
        EXPECT_FLOAT_EQ(emitters[2 * i + 1]->x, 498.0f + 7.0f);
        EXPECT_EQ(emitters[2 * i + 1]->baseAngle, 180 - 30 * i);
    }
    TakeSummons(form);

    // 64 fan steps: eight from the left edge turning one way, eight from the right the other,
    // each faster than the last; the aim is taken at the first of each eight.
    int aim = 0;
    int kind4 = 0;
    for (int n = 1; n <= 64; ++n) {
        SCOPED_TRACE(n);
        int frames = 0;
        auto fired = NextVolley(200, &frames);
        auto taken = TakeSummons(form);
        int m = (n - 1) % 16;
        EXPECT_EQ(frames, n == 1 ? 127 : (m == 1 || m == 9) ? 3 : 12);
        if (m == 0 || m == 8) {
            aim = AimFrom(form, ship);
        }
        ASSERT_EQ(fired.size(), 1u);
        auto* shot = static_cast<EnemyShot2*>(fired[0]);
        Point p;
        shot->GetCenter(&p);
        if (m < 8) {
            EXPECT_EQ(shot->cell, 0);
            EXPECT_EQ(shot->direction, Norm(aim + m));
            EXPECT_FLOAT_EQ(shot->accel, 70.0f * (m + 1));
            EXPECT_NEAR(p.x, form->x, 3.0f);
        } else {
            EXPECT_EQ(shot->cell, 1);
            EXPECT_EQ(shot->direction, Norm(aim - (m - 8)));
            EXPECT_FLOAT_EQ(shot->accel, 70.0f * (m - 7));
            EXPECT_NEAR(p.x, form->x + 48.0f, 3.0f);
        }
        EXPECT_NEAR(p.y, form->y + 24.0f, 3.0f);
        if (m == 15) {
            ASSERT_EQ(taken.size(), 1u);
            auto* e = dynamic_cast<Enemy4*>(taken[0]);
            ASSERT_NE(e, nullptr);
            int offset = e->targetSecond - kHeldSecond;
            EXPECT_TRUE(offset == 1 || offset == 2) << offset;
            ++kind4;
        } else {
            EXPECT_TRUE(taken.empty());
        }
    }
    EXPECT_EQ(kind4, 4);
    EXPECT_EQ(form->pattern, 1);

    // The closing pair: 500 px/s either side of the aim, one degree closer each step, down to
    // ten degrees from step 80; three kind-2 enemies at the first and 129th steps.
    std::vector<Task*> kind2;
    for (int n = 0; n < 255; ++n) {
        int frames = 0;
        auto fired = NextVolley(200, &frames);
        EXPECT_EQ(frames, n == 0 ? 127 : 3) << n;
        float formX = form->x;
        auto taken = TakeSummons(form);
        aim = AimFrom(form, ship);
        int s = std::min(n, 80);
        ASSERT_EQ(OfCell(fired, 2).size(), 2u) << n;
        EXPECT_EQ(DirectionsOf(OfCell(fired, 2)), Angles({aim + 90 - s, aim - 90 + s})) << n;
        EXPECT_EQ(fired[0]->speed, 500.0f);
        if (n == 0 || n == 128) {
            ASSERT_EQ(taken.size(), 3u) << n;
            float base = formX > 320.0f ? 176.0f : 368.0f;
            for (int i = 0; i < 3; ++i) {
                auto* e = dynamic_cast<Enemy2*>(taken[i]);
                ASSERT_NE(e, nullptr);
                EXPECT_NEAR(e->x, base + 32.0f * i, 4.0f) << "adjacent columns on the far side";
                int offset = e->targetSecond - kHeldSecond;
                EXPECT_GE(offset, 1);
                EXPECT_LE(offset, 4);
            }
        } else {
            EXPECT_TRUE(taken.empty()) << n;
        }
    }
    EXPECT_EQ(form->pattern, 0);
    NextVolley(200);
    EXPECT_EQ(LiveOfClass<ShotEmitterB>().size(), 8u) << "the side emitters again";
}

TEST_F(BossL3PatternsTest, ThirdFormFiresOneVolleyEveryTwoSeconds)
{
    auto* ship = ClearCountingShip::Create(276.0f, 400.0f);
    auto* form = Later<BossL3Form3>();
    struct Volley {
        size_t shot3, shot4, shot5;
        bool kind1;
    } expected[] = {{0, 1, 3, false}, {8, 0, 0, true}, {0, 0, 11, false}, {0, 1, 3, false}, {8, 0, 0, true}};
    int index = 0;
    for (const Volley& v : expected) {
        SCOPED_TRACE(index);
        int frames = 0;
        auto fired = NextVolley(200, &frames);
        EXPECT_EQ(frames, index == 0 ? 2 : 127);
        auto taken = TakeSummons(form);
        EXPECT_EQ(OfClass<EnemyShot3>(fired).size(), v.shot3);
        EXPECT_EQ(OfClass<EnemyShot4>(fired).size(), v.shot4);
        EXPECT_EQ(OfClass<EnemyShot5>(fired).size(), v.shot5);
        EXPECT_EQ(fired.size(), v.shot3 + v.shot4 + v.shot5);
        if (v.shot3) {
            EXPECT_EQ(Sorted(Directions(fired)), Angles({0, 45, 90, 135, 180, 225, 270, 315}));
            auto threes = OfClass<EnemyShot3>(fired);
            EXPECT_FLOAT_EQ(threes[0]->limit, 10.0f);
            EXPECT_EQ(threes[0]->fireFlag, 10);
        }
        if (v.shot5 == 11) {
            int aim = AimFrom(form, ship);
            EXPECT_EQ(Sorted(Directions(fired)), Angles({aim - 10, aim - 8, aim - 6, aim - 4, aim - 2, aim, aim + 2,
                                                         aim + 4, aim + 6, aim + 8, aim + 10}));
        }
        if (v.kind1) {
            ASSERT_EQ(taken.size(), 1u);
            auto* e = dynamic_cast<Enemy1*>(taken[0]);
            ASSERT_NE(e, nullptr);
            EXPECT_TRUE(std::abs(e->x - 224.0f) < 4.0f || std::abs(e->x - 368.0f) < 4.0f) << e->x;
            EXPECT_LT(e->y, 0.0f) << "comes down from above the field";
        } else {
            EXPECT_TRUE(taken.empty());
        }
        // Braking shots fire shots of their own later; only the form's volleys are read.
        for (Task* t : LiveOfType(TaskType::EnemyShot)) {
            g_taskList->Kill(t);
        }
        ++index;
    }
}

TEST_F(BossL3PatternsTest, LastFormOpensThenFiresWithoutEnd)
{
    auto* ship = ClearCountingShip::Create(276.0f, 400.0f);
    auto* form = Later<BossL3Form4>();
    // Opening: fifteen aimed triples, one every third frame from the very first.
    for (int i = 0; i < 15; ++i) {
        int frames = 0;
        auto fired = NextVolley(10, &frames);
        EXPECT_EQ(frames, i == 0 ? 1 : 3) << i;
        int aim = AimFrom(form, ship);
        auto cells = OfCell(fired, 1);
        ASSERT_EQ(cells.size(), 3u);
        EXPECT_EQ(DirectionsOf(cells), Angles({aim - 15, aim, aim + 15}));
        for (EnemyShot2* s : cells) {
            EXPECT_FLOAT_EQ(s->accel, s->direction == Norm(aim) ? 1.0f : 2.0f);
        }
    }
    EXPECT_EQ(form->openingCount, 15);

    // A four-second break, then steps every third frame for ever: cycles of 30 steps whose
    // side shots turn with the cycle count.
    for (int step = 0; step < 75; ++step) {
        int c = step % 30;
        int r = step / 30;
        SCOPED_TRACE(step);
        int frames = 0;
        auto fired = NextVolley(300, &frames);
        EXPECT_EQ(frames, step == 0 ? 251 : 3);
        int aim = AimFrom(form, ship);
        if (c < 15) {
            EXPECT_EQ(DirectionsOf(OfCell(fired, 1)), Angles({aim - 15, aim, aim + 15}));
            EXPECT_TRUE(OfCell(fired, 2).empty());
        } else {
            EXPECT_EQ(DirectionsOf(OfCell(fired, 2)), Angles({aim + (c - 10), aim - (c - 10)}));
            EXPECT_TRUE(OfCell(fired, 1).empty());
        }
        auto side = OfCell(fired, 0);
        if (c & 4) {
            int a = (60 * r + 2 * c) % 256;
            EXPECT_EQ(DirectionsOf(side), Angles({-a, -(a + 45), a + 180, a + 225}));
            for (EnemyShot2* s : side) {
                EXPECT_FLOAT_EQ(s->accel, 100.0f);
            }
        } else {
            EXPECT_TRUE(side.empty());
        }
    }
    EXPECT_EQ(form->cycleCount, 2);
    EXPECT_EQ(soundFrames, 0);
}

}  // namespace
