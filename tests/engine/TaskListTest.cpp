#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/GameObject.h"
#include "engine/TaskList.h"

namespace {

std::vector<std::string> g_log;

// A task that logs its runs and its deletion and runs an optional action in its Exec.
class Probe : public Task {
public:
    explicit Probe(std::string name, std::function<void(Probe*)> action = {})
        : name(std::move(name)), action(std::move(action))
    {
    }
    ~Probe() override { g_log.push_back("~" + name); }
    void Exec() override
    {
        g_log.push_back(name);
        if (action) {
            action(this);
        }
    }
    static Probe* Create(int priority, std::string name, std::function<void(Probe*)> action = {})
    {
        return static_cast<Probe*>(g_taskList->Insert(new Probe(std::move(name), std::move(action)), priority));
    }

    std::string name;
    std::function<void(Probe*)> action;
};

class Player : public GameObject {
public:
    Player() { type = TaskType::Player; }
    void Exec() override {}
    void OnStageClear() override {}
};

class TaskListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        g_taskList = new TaskList;
    }
    void TearDown() override
    {
        delete g_taskList;
        g_taskList = nullptr;
    }
};

TEST_F(TaskListTest, RunsByPriorityThenInsertionOrder)
{
    Probe::Create(3072, "a");
    Probe::Create(3072, "b");
    Probe::Create(512, "c");
    EXPECT_EQ(g_taskList->Count(), 5);
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"c", "a", "b"}));
}

TEST_F(TaskListTest, EmptyListHoldsTheTwoSentinels)
{
    EXPECT_EQ(g_taskList->Count(), 2);
    EXPECT_EQ(g_taskList->First()->state, TaskState::Sentinel);
    EXPECT_EQ(g_taskList->First()->priority, 5632);
    g_taskList->RunAll();
    EXPECT_EQ(g_taskList->Count(), 2);
}

TEST_F(TaskListTest, SelfKilledTaskFinishesThePassAndIsDeletedAtItsEnd)
{
    Probe::Create(100, "self", [](Probe* p) { g_taskList->Kill(p); });
    Probe::Create(200, "after");
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"self", "after", "~self"}));
    EXPECT_EQ(g_taskList->Count(), 3);
    g_log.clear();
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"after"}));
}

TEST_F(TaskListTest, TaskCreatedDuringThePassRunsNowOnlyWhenBehindItsCreator)
{
    bool created = false;
    Probe::Create(3072, "creator", [&](Probe*) {
        if (!created) {
            created = true;
            Probe::Create(3072, "same");
            Probe::Create(4000, "higher");
            Probe::Create(100, "lower");
        }
    });
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"creator", "same", "higher"}));
    g_log.clear();
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"lower", "creator", "same", "higher"}));
}

TEST_F(TaskListTest, TaskKilledBeforeItsTurnDoesNotRun)
{
    Probe* victim = nullptr;
    Probe::Create(100, "killer", [&](Probe*) { g_taskList->Kill(victim); });
    victim = Probe::Create(200, "victim");
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"killer", "~victim"}));
}

TEST_F(TaskListTest, KillAllThenCreateKeepsOnlyTheNewTasks)
{
    Probe::Create(100, "old1");
    Probe::Create(100, "old2", [](Probe*) {
        g_taskList->KillAllLive();
        Probe::Create(50, "new");
    });
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"old1", "old2", "~old1", "~old2"}));
    g_log.clear();
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"new"}));
    EXPECT_EQ(g_taskList->Count(), 3);
}

TEST_F(TaskListTest, KillingTwiceInOneFrameIsHarmless)
{
    Probe* p = Probe::Create(100, "p");
    g_taskList->Kill(p);
    g_taskList->Kill(p);
    g_taskList->RunAll();
    EXPECT_EQ(g_log, (std::vector<std::string>{"~p"}));
    EXPECT_EQ(g_taskList->Count(), 2);
}

TEST_F(TaskListTest, FindPlayerSkipsAKilledPlayerBeforeItIsDeleted)
{
    auto* player = static_cast<Player*>(g_taskList->Insert(new Player, 3840));
    EXPECT_EQ(TaskList::FindPlayer(), player);
    g_taskList->Kill(player);
    EXPECT_EQ(TaskList::FindPlayer(), nullptr);
}

TEST_F(TaskListTest, DestructorDeletesTasksStillInTheList)
{
    Probe::Create(100, "left");
    delete g_taskList;
    g_taskList = new TaskList;
    EXPECT_EQ(g_log, (std::vector<std::string>{"~left"}));
}

// Tasks of mixed priorities created and killed over many frames, the last of a priority among
// them: the list stays in priority order, each priority in creation order.
TEST_F(TaskListTest, OrderHoldsThroughManyCreationsAndKills)
{
    const int priorities[] = {PriorityEnemy, PriorityPlayer, PriorityHead, PriorityEnemy, PriorityTail,
                              PriorityPlayer, PriorityScreen, PriorityEnemy};
    std::vector<std::pair<int, int>> expected;  // priority, serial of the live tasks in list order
    int serial = 0;
    for (int frame = 0; frame < 40; ++frame) {
        for (int i = 0; i < 5; ++i) {
            int priority = priorities[(frame * 5 + i * 3) % 8];
            Probe::Create(priority, std::to_string(serial));
            auto at = std::find_if(expected.begin(), expected.end(), [&](auto& e) { return e.first > priority; });
            expected.insert(at, {priority, serial++});
        }
        // Kill every third task, and the newest of each priority on even frames.
        std::vector<int> killed;
        int index = 0;
        for (Task* t = g_taskList->First(); t->state != TaskState::Sentinel; t = t->next, ++index) {
            bool newest = frame % 2 == 0 && (t->next->state == TaskState::Sentinel || t->next->priority != t->priority);
            if (index % 3 == frame % 3 || newest) {
                g_taskList->Kill(t);
                killed.push_back(std::stoi(static_cast<Probe*>(t)->name));
            }
        }
        std::erase_if(expected, [&](auto& e) { return std::find(killed.begin(), killed.end(), e.second) != killed.end(); });
        g_taskList->RunAll();
    }
    std::vector<std::pair<int, int>> actual;
    for (Task* t = g_taskList->First(); t->state != TaskState::Sentinel; t = t->next) {
        actual.push_back({t->priority, std::stoi(static_cast<Probe*>(t)->name)});
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(g_taskList->Count(), static_cast<int>(expected.size()) + 2);
}

TEST(GameObjectTest, RectAndIntegerCentre)
{
    Player p;
    p.x = 10.5f;
    p.y = -3.0f;
    p.w = 33;
    p.h = 20;
    Rect r;
    p.GetRect(&r);
    EXPECT_FLOAT_EQ(r.x, 10.5f);
    EXPECT_FLOAT_EQ(r.y, -3.0f);
    EXPECT_EQ(r.w, 33);
    EXPECT_EQ(r.h, 20);
    Point c;
    p.GetCenter(&c);
    EXPECT_EQ(c.x, 26);  // 16 + 10.5 truncated
    EXPECT_EQ(c.y, 7);
}

}  // namespace
