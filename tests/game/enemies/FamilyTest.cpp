// What the three enemy families share: the class each level makes, the fields it starts with,
// the target second from the creation parameter, and what a kill leaves behind.
#include <functional>
#include <set>
#include <typeinfo>

#include "engine/TaskList.h"
#include "game/stage/Clock.h"
#include "game/enemies/Enemy1.h"
#include "game/enemies/Enemy2.h"
#include "game/enemies/Enemy3.h"
#include "game/score/GradeLabel.h"
#include "game/score/ScoreTable.h"
#include "tests/game/enemies/KindFixture.h"

namespace {

using Maker = std::function<Enemy*(int priority, int param, float x, float y)>;

struct Family {
    const char* name;
    Maker create;
    int scoreValue;
    int items;
};

const Family kFamilies[] = {
    {"kind 1", [](int p, int param, float x, float y) -> Enemy* { return Enemy1::Create(p, param, x, y); }, 200, 2},
    {"kind 2", [](int p, int param, float x, float y) -> Enemy* { return Enemy2::Create(p, param, x, y); }, 240, 2},
    {"kind 3", [](int p, int param, float x, float y) -> Enemy* { return Enemy3::Create(p, param, x, y); }, 400, 4},
};

class FamilyTest : public KindFixture {
protected:
    static Clock* ClockAt(int seconds)
    {
        Clock* clock = Clock::Create(PriorityScreen, 296, 120);
        clock->seconds = seconds;
        return clock;
    }
};

TEST_F(FamilyTest, CreatePicksTheClassOfTheDifficultyLevel)
{
    struct Case {
        int level;
        const std::type_info& kind1;
        const std::type_info& kind2;
        const std::type_info& kind3;
    } cases[] = {
        {0, typeid(Enemy1L0), typeid(Enemy2L0), typeid(Enemy3L0)},
        {1, typeid(Enemy1L1), typeid(Enemy2L1), typeid(Enemy3L1)},
        {2, typeid(Enemy1L2), typeid(Enemy2L2), typeid(Enemy3L2)},
        {3, typeid(Enemy1L3), typeid(Enemy2L3), typeid(Enemy3L3)},
        {4, typeid(Enemy1L0), typeid(Enemy2L0), typeid(Enemy3L0)},
        {-1, typeid(Enemy1L0), typeid(Enemy2L0), typeid(Enemy3L0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        SetLevel(c.level);
        Enemy* one = Enemy1::Create(PriorityEnemy, 0, 160.0f, -48.0f);
        Enemy* two = Enemy2::Create(PriorityEnemy, 0, 160.0f, -48.0f);
        Enemy* three = Enemy3::Create(PriorityEnemy, 0, 160.0f, -48.0f);
        EXPECT_EQ(typeid(*one), c.kind1);
        EXPECT_EQ(typeid(*two), c.kind2);
        EXPECT_EQ(typeid(*three), c.kind3);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(FamilyTest, EveryLevelStartsAsAnOrdinaryEnemyInTheList)
{
    for (const Family& family : kFamilies) {
        for (int level = 0; level < 4; ++level) {
            SCOPED_TRACE(testing::Message() << family.name << " level " << level);
            SetLevel(level);
            Enemy* e = family.create(PriorityEnemy, 0, 224.0f, -48.0f);
            ASSERT_NE(e, nullptr);
            EXPECT_TRUE(IsLive(e));
            EXPECT_EQ(e->priority, PriorityEnemy);
            EXPECT_EQ(e->type, TaskType::Enemy);
            EXPECT_FLOAT_EQ(e->x, 224.0f);
            EXPECT_FLOAT_EQ(e->y, -48.0f);
            EXPECT_EQ(e->w, 48);
            EXPECT_EQ(e->h, 48);
            Rect hit;
            e->GetHitRect(&hit);
            EXPECT_FLOAT_EQ(hit.x, 228.0f);
            EXPECT_FLOAT_EQ(hit.y, -44.0f);
            EXPECT_EQ(hit.w, 40);
            EXPECT_EQ(hit.h, 40);
            EXPECT_EQ(e->direction, 270);
            EXPECT_EQ(e->hp, 1);
            EXPECT_EQ(e->scoreValue, family.scoreValue);
            EXPECT_EQ(e->stateIndex, 0);
            g_taskList->KillAllLive();
            RunTasks();
        }
    }
}

TEST_F(FamilyTest, TargetSecondComesFromTheParameterAndTheClock)
{
    struct Case {
        int family;  // index into kFamilies
        int level;
        int param;
        int low, high;  // the target second lies in low..high
    } cases[] = {
        {0, 0, 0, 0, 0},       {0, 0, 7, 17, 17},     {0, 0, 255, 12, 14}, {0, 3, 255, 12, 14},
        {1, 0, 255, 12, 14},   {1, 2, 1, 11, 11},     {1, 3, 0, 0, 0},     {2, 0, 255, 265, 265},
        {2, 1, 255, 265, 265}, {2, 2, 255, 12, 14},   {2, 3, 255, 265, 265}, {2, 2, 3, 13, 13},
        {2, 1, 0, 0, 0},
    };
    ClockAt(10);
    RunTasks();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << kFamilies[c.family].name << " level " << c.level << " param " << c.param);
        SetLevel(c.level);
        std::set<int> seen;
        for (int i = 0; i < 24; ++i) {
            Enemy* e = kFamilies[c.family].create(PriorityEnemy, c.param, 224.0f, -48.0f);
            EXPECT_GE(e->targetSecond, c.low);
            EXPECT_LE(e->targetSecond, c.high);
            seen.insert(e->targetSecond);
            g_taskList->Kill(e);
        }
        EXPECT_EQ(static_cast<int>(seen.size()), c.high - c.low + 1) << "every second of the range occurs";
        RunTasks();
    }
}

TEST_F(FamilyTest, TargetSecondIsDrawnOverTheSprite)
{
    const int bodySlots[] = {15, 15, 16};
    ClockAt(10);
    RunTasks();
    for (int f = 0; f < 3; ++f) {
        SCOPED_TRACE(kFamilies[f].name);
        Enemy* e = kFamilies[f].create(PriorityEnemy, 14, 224.0f, 100.0f);
        Step(e);
        auto sprites = Sprites();
        ASSERT_EQ(sprites.size(), 3u);
        EXPECT_EQ(sprites[0].slot, bodySlots[f]);
        // 24 at the bottom right: 2 then 4, flush with the right and bottom edges.
        EXPECT_EQ(sprites[1].slot, 7);
        EXPECT_EQ(sprites[1].srcX, 24);
        EXPECT_EQ(sprites[2].srcX, 48);
        EXPECT_EQ(sprites[2].x, static_cast<int>(e->x + 48 - 12));
        EXPECT_EQ(sprites[2].y, static_cast<int>(e->y + 48 - 18));
        g_taskList->Kill(e);
        RunTasks();
    }
}

TEST_F(FamilyTest, KillScoresTheKindsValueAndLeavesItsItems)
{
    for (const Family& family : kFamilies) {
        for (int level = 0; level < 4; ++level) {
            SCOPED_TRACE(testing::Message() << family.name << " level " << level);
            g_scoreTable->ResetForGame();
            SetLevel(level);
            Clock* clock = ClockAt(20);
            Enemy* e = family.create(PriorityEnemy, 5, 224.0f, 100.0f);
            clock->seconds = 25;
            e->Damage(1);
            RunTasks();
            EXPECT_FALSE(IsLive(e));
            EXPECT_EQ(g_scoreTable->GetScore(), family.scoreValue) << "an exact kill from a fresh game";
            EXPECT_EQ(LiveOfType(TaskType::FallingItem).size(), static_cast<size_t>(family.items));
            auto labels = LiveOfClass<GradeLabel>();
            ASSERT_EQ(labels.size(), 1u);
            EXPECT_EQ(labels[0]->grade, TimingGrade::Exact);
            g_taskList->KillAllLive();
            RunTasks();
        }
    }
}

TEST_F(FamilyTest, KillWithoutTargetSecondIsAMiss)
{
    for (const Family& family : kFamilies) {
        SCOPED_TRACE(family.name);
        g_scoreTable->ResetForGame();
        ClockAt(30);
        Enemy* e = family.create(PriorityEnemy, 0, 224.0f, 100.0f);
        e->Damage(1);
        RunTasks();
        auto labels = LiveOfClass<GradeLabel>();
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(labels[0]->grade, TimingGrade::Miss);
        EXPECT_EQ(g_scoreTable->GetGauge(), 95);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

}  // namespace
