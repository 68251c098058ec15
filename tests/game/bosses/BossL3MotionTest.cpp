// The level-3 forms' rise, sway and drawing: a darkened double of the ship that dashes toward
// the player's side. The clock is held well before every target second.
#include <algorithm>

#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL3Form1.h"
#include "game/bosses/BossL3Form2.h"
#include "game/bosses/BossL3Form3.h"
#include "game/bosses/BossL3Form4.h"
#include "tests/game/bosses/BossL3Fixture.h"

namespace {

constexpr int kParam = 100;

class BossL3MotionTest : public BossL3Fixture {};

TEST_F(BossL3MotionTest, FirstFormRisesUntouchableFromBelowTheField)
{
    ClearCountingShip::Create(296.0f, 400.0f);
    Task* created = Boss::Create(PriorityEnemy, kParam);
    auto* form = dynamic_cast<BossL3Form1*>(created);
    ASSERT_NE(form, nullptr) << "level 3 starts the level-3 chain";
    EXPECT_FLOAT_EQ(form->x, 128.0f);
    EXPECT_FLOAT_EQ(form->y, 480.0f);
    EXPECT_EQ(form->type, TaskType::Inert);
    EXPECT_GE(form->targetSecond, kHeldSecond + kParam - 4);
    EXPECT_LE(form->targetSecond, kHeldSecond + kParam + 3);

    // Cells 0, 0, 1, ... 1, 2, ... 3, ... 2, ... 1, 2: a change every 21 frames after the second.
    struct Cell {
        int frame, cell;
    } expected[] = {{1, 0}, {2, 1}, {22, 1}, {23, 2}, {44, 3}, {65, 2}, {86, 1}, {107, 2}, {128, 3}};
    int frames = 0;
    for (const Cell& c : expected) {
        while (frames < c.frame) {
            Frame();
            ++frames;
            ASSERT_EQ(form->type, TaskType::Inert) << frames;
            ASSERT_TRUE(FormDigits().empty()) << "no target digits while rising, frame " << frames;
        }
        auto body = Body();
        ASSERT_EQ(body.size(), 1u) << frames;
        EXPECT_EQ(body[0].srcX, 48 * c.cell) << frames;
        EXPECT_EQ(body[0].srcY, 96) << "not yet a target: the lower row";
        EXPECT_EQ(body[0].colour, 0xFF808080u) << "every channel halved";
        EXPECT_EQ(body[0].x, static_cast<int>(form->x));
        EXPECT_EQ(body[0].y, static_cast<int>(form->y));
    }
    EXPECT_FLOAT_EQ(form->x, 128.0f) << "straight up";
    while (form->stateIndex == 0 && frames < 400) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 149) << "about 2.4 s at 160 px/s";
    EXPECT_LT(form->y, 100.0f);
    EXPECT_GT(form->y, 97.0f);
    EXPECT_EQ(form->type, TaskType::Enemy);
    EXPECT_EQ(form->frame, 1);
    EXPECT_FLOAT_EQ(form->speed, 0.0f);
    EXPECT_FALSE(FormDigits().empty()) << "a target from the frame it stops";
    Frame();
    ASSERT_EQ(Body().size(), 1u);
    EXPECT_EQ(Body()[0].srcY, 0);
}

// A dash speeds up to just over 40 px/s and slows to a stop: one second at A = 80, two at 40.
TEST_F(BossL3MotionTest, FormsDashTowardThePlayersSide)
{
    struct Case {
        const char* name;
        int form;  // 1 to 4
        float shipX;
        int direction;
        int minFrames, maxFrames;
    } cases[] = {
        {"form 1, player right", 1, 400.0f, 0, 60, 70},
        {"form 2, player left", 2, 150.0f, 180, 120, 135},
        {"form 3, player right", 3, 450.0f, 0, 120, 135},
        {"form 4, player left", 4, 150.0f, 180, 120, 135},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* ship = ClearCountingShip::Create(c.shipX, 400.0f);
        BossL3Form* form = nullptr;
        switch (c.form) {
        case 1: {
            auto* first = static_cast<BossL3Form1*>(Boss::Create(PriorityEnemy, kParam));
            while (first->stateIndex == 0) {
                Frame();
            }
            form = first;
            break;
        }
        case 2:
            form = static_cast<BossL3Form*>(BossL3Form2::Create(PriorityEnemy, kParam, 300.0f, 100.0f));
            break;
        case 3:
            form = static_cast<BossL3Form*>(BossL3Form3::Create(PriorityEnemy, kParam, 300.0f, 100.0f));
            break;
        default:
            form = static_cast<BossL3Form*>(BossL3Form4::Create(PriorityEnemy, kParam, 300.0f, 100.0f));
            break;
        }
        if (c.form != 1) {
            // The later forms appear flying up at 160 px/s, which runs down in four seconds
            // along a direction that leaves x practically where it was.
            for (int i = 0; i < 245; ++i) {
                Frame();
                ASSERT_NEAR(form->x, 300.0f, 0.01f) << i;
                ASSERT_FLOAT_EQ(form->y, 100.0f);
            }
            while (form->speed > 0.0f) {
                Frame();
            }
        }
        float startX = form->x;
        float startY = form->y;
        float top = 0.0f;
        int frames = 0;
        Frame();
        EXPECT_EQ(form->direction, c.direction);
        while (form->speed > 0.0f && frames < 300) {
            top = std::max(top, form->speed);
            Frame();
            ++frames;
        }
        EXPECT_GE(frames, c.minFrames);
        EXPECT_LE(frames, c.maxFrames);
        EXPECT_GT(top, 40.0f);
        EXPECT_LT(top, 41.5f);
        float moved = form->x - startX;
        EXPECT_GT(c.direction == 0 ? moved : -moved, 15.0f) << "toward the player";
        EXPECT_FLOAT_EQ(form->y, startY) << "only sideways";
        (void)ship;
        g_taskList->KillAllLive();
        Step();
        clock = Clock::Create(PriorityScreen, 296, 120);
    }
}

TEST_F(BossL3MotionTest, StoppedFormWaitsForAPlayerButKeepsItsDigits)
{
    auto* form = static_cast<BossL3Form3*>(BossL3Form3::Create(PriorityEnemy, kParam, 300.0f, 100.0f));
    // Still gliding off its start speed, it is drawn and fires without a player.
    int volleyFrame = 0;
    EXPECT_FALSE(NextVolley(5, &volleyFrame).empty());
    EXPECT_EQ(volleyFrame, 2) << "the first step on the second frame";
    while (form->speed > 0.0f) {
        Frame();
        ASSERT_EQ(Body().size(), 1u);
        TakeSummons(form);
    }
    float x = form->x;
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(Frame().empty()) << "no shots, frame " << i;
        ASSERT_TRUE(Body().empty()) << "not drawn, frame " << i;
        ASSERT_FALSE(FormDigits().empty()) << "digits still drawn, frame " << i;
        ASSERT_FLOAT_EQ(form->x, x);
    }
    ClearCountingShip::Create(100.0f, 400.0f);
    Frame();
    EXPECT_EQ(Body().size(), 1u);
    EXPECT_EQ(form->direction, 180);
    EXPECT_GT(form->speed, 0.0f);
    EXPECT_FALSE(NextVolley(130).empty()) << "fires again";
    EXPECT_LT(form->x, x);
}

}  // namespace
