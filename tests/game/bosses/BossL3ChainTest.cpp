// The level-3 chain under the boss rule: hand-over from form to form at the same place, the
// last form's stage clear, late and early ends, and the untouchable rise.
#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL3Form1.h"
#include "game/bosses/BossL3Form2.h"
#include "game/bosses/BossL3Form3.h"
#include "game/bosses/BossL3Form4.h"
#include "game/score/GradeLabel.h"
#include "game/score/ScoreTable.h"
#include "tests/game/bosses/BossL3Fixture.h"

namespace {

class BossL3ChainTest : public BossL3Fixture {
protected:
    std::vector<BossL3Form*> Forms() { return LiveOfClass<BossL3Form>(); }
    std::vector<GradeLabel*> Labels() { return LiveOfClass<GradeLabel>(); }
    static void Clear(TaskType type)
    {
        for (Task* t : LiveOfType(type)) {
            g_taskList->Kill(t);
        }
    }
};

TEST_F(BossL3ChainTest, EachFormKilledOnTimeHandsOverUntilTheStageClears)
{
    auto* ship = ClearCountingShip::Create(276.0f, 400.0f);
    auto* first = static_cast<BossL3Form1*>(Boss::Create(PriorityEnemy, 20));
    EXPECT_GE(first->targetSecond, kHeldSecond + 16);
    EXPECT_LE(first->targetSecond, kHeldSecond + 23);
    while (first->stateIndex == 0) {
        Frame();
    }
    struct Stage {
        const char* name;
        int nextParam;  // 0: the last form
        bool randomPart;
        size_t items;
    } stages[] = {
        {"form 1", 40, true, 10},
        {"form 2", 25, true, 10},
        {"form 3", 30, false, 10},
        {"form 4", 0, false, 20},
    };
    BossL3Form* form = first;
    for (const Stage& s : stages) {
        SCOPED_TRACE(s.name);
        Frame();
        Clear(TaskType::FallingItem);
        for (GradeLabel* l : Labels()) {
            g_taskList->Kill(l);
        }
        Step();
        float x = form->x;
        float y = form->y;
        int target = form->targetSecond;
        form->Damage(1);
        StepAt(target);
        EXPECT_FALSE(IsLive(form));
        ASSERT_EQ(Labels().size(), 1u);
        EXPECT_EQ(Labels()[0]->grade, TimingGrade::Exact);
        EXPECT_EQ(LiveOfType(TaskType::FallingItem).size(), s.items);
        auto forms = Forms();
        if (s.nextParam == 0) {
            EXPECT_TRUE(forms.empty());
            EXPECT_EQ(ship->clears, 1);
            break;
        }
        ASSERT_EQ(forms.size(), 1u);
        BossL3Form* next = forms[0];
        // The old form still swayed in its last frame, by at most 41 px/s for 0.016 s.
        EXPECT_NEAR(next->x, x, 0.7f) << "at the old form's place";
        EXPECT_FLOAT_EQ(next->y, y);
        EXPECT_EQ(next->type, TaskType::Enemy);
        if (s.randomPart) {
            EXPECT_GE(next->targetSecond, target + s.nextParam - 4);
            EXPECT_LE(next->targetSecond, target + s.nextParam + 3);
        } else {
            EXPECT_EQ(next->targetSecond, target + s.nextParam);
        }
        EXPECT_EQ(ship->clears, 0);
        form = next;
    }
    for (int i = 0; i < 5; ++i) {
        Step();
    }
    EXPECT_EQ(ship->clears, 1) << "once";
}

TEST_F(BossL3ChainTest, LastFormLeftAliveEndsTheStageOnlyThroughAPlayer)
{
    for (bool player : {true, false}) {
        SCOPED_TRACE(player ? "with a player" : "without a player");
        g_scoreTable->ResetForGame();
        ClearCountingShip* ship = player ? ClearCountingShip::Create(276.0f, 400.0f) : nullptr;
        auto* form = static_cast<BossL3Form4*>(BossL3Form4::Create(PriorityEnemy, 30, 300.0f, 100.0f));
        EXPECT_EQ(form->targetSecond, kHeldSecond + 30);
        StepAt(kHeldSecond + 35);
        ASSERT_TRUE(IsLive(form));
        StepAt(kHeldSecond + 36);
        EXPECT_FALSE(IsLive(form));
        EXPECT_EQ(g_scoreTable->GetGauge(), 92);
        EXPECT_TRUE(LiveOfType(TaskType::FallingItem).empty());
        if (ship) {
            EXPECT_EQ(ship->clears, 1);
        }
        g_taskList->KillAllLive();
        Step();
        clock = Clock::Create(PriorityScreen, 296, 120);
        clock->seconds = kHeldSecond;
    }
}

TEST_F(BossL3ChainTest, FirstFormOverdueWhileRisingHandsOverWithoutGaugeLoss)
{
    auto* form = static_cast<BossL3Form1*>(Boss::Create(PriorityEnemy, 0));
    EXPECT_EQ(form->targetSecond, 0);
    StepAt(5);
    ASSERT_TRUE(IsLive(form));
    EXPECT_TRUE(FormDigits().empty());
    float y = form->y;
    StepAt(6);
    EXPECT_FALSE(IsLive(form));
    EXPECT_EQ(g_scoreTable->GetGauge(), 100) << "it was not yet a target";
    ASSERT_EQ(Labels().size(), 1u);
    EXPECT_EQ(Labels()[0]->grade, TimingGrade::Miss);
    auto next = LiveOfClass<BossL3Form2>();
    ASSERT_EQ(next.size(), 1u);
    EXPECT_NEAR(next[0]->x, 128.0f, 0.01f);
    EXPECT_NEAR(next[0]->y, y - 2.56f, 0.01f);
    EXPECT_GE(next[0]->targetSecond, 6 + 40 - 4);
    EXPECT_LE(next[0]->targetSecond, 6 + 40 + 3);
}

TEST_F(BossL3ChainTest, EarlyKilledFormLingersFightingUntilItIsOverdue)
{
    ClearCountingShip::Create(150.0f, 400.0f);
    auto* form = static_cast<BossL3Form2*>(BossL3Form2::Create(PriorityEnemy, 30, 300.0f, 100.0f));
    int target = form->targetSecond;
    form->Damage(1);
    StepAt(target - 6);
    ASSERT_TRUE(IsLive(form));
    EXPECT_EQ(form->type, TaskType::Inert);
    EXPECT_EQ(g_scoreTable->GetGauge(), 95);
    ASSERT_EQ(Labels().size(), 1u);
    EXPECT_EQ(Labels()[0]->grade, TimingGrade::Miss);
    EXPECT_TRUE(LiveOfClass<BossL3Form3>().empty());

    // Still sways and fires, drawn from the lower row without digits, and cannot be hit again.
    int shots = 0;
    for (int i = 0; i < 400; ++i) {
        ClearSoundRequests();
        shots += static_cast<int>(StepAt(target - 6).size());
        TakeSummons(form);
        ASSERT_EQ(Body().size(), 1u);
        ASSERT_EQ(Body()[0].srcY, 96);
        ASSERT_TRUE(DigitsOf(form).empty()) << i;
    }
    EXPECT_GT(shots, 0);
    EXPECT_LT(form->x, 290.0f) << "swayed toward the player";
    form->Damage(1);
    StepAt(target + 5);
    ASSERT_TRUE(IsLive(form));
    EXPECT_EQ(g_scoreTable->GetGauge(), 95);
    float x = form->x;
    float y = form->y;
    StepAt(target + 6);
    EXPECT_FALSE(IsLive(form));
    EXPECT_EQ(g_scoreTable->GetGauge(), 95) << "no second gauge loss";
    auto next = LiveOfClass<BossL3Form3>();
    ASSERT_EQ(next.size(), 1u);
    EXPECT_NEAR(next[0]->x, x, 0.7f) << "where the old form swayed to in its last frame";
    EXPECT_FLOAT_EQ(next[0]->y, y);
}

}  // namespace
