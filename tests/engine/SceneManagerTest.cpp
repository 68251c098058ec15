#include <gtest/gtest.h>

#include "engine/MathUtil.h"
#include "engine/TaskList.h"
#include "game/SceneManager.h"

namespace {

class Marker : public Task {
public:
    explicit Marker(int* deleted) : deleted(deleted) {}
    ~Marker() override { ++*deleted; }
    int* deleted;
};

class SceneManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_taskList = new TaskList;
        manager = new SceneManager;
        g_sceneManager = manager;
    }
    void TearDown() override
    {
        delete manager;
        g_sceneManager = nullptr;
        delete g_taskList;
        g_taskList = nullptr;
    }
    // Puts a task into the list that counts its deletion.
    void AddMarker() { g_taskList->Insert(new Marker(&deleted), 1000); }

    SceneManager* manager;
    int deleted = 0;
};

TEST_F(SceneManagerTest, FirstRunEntersLoadingWithoutEndingTasks)
{
    EXPECT_EQ(manager->GetCurrentState(), -1);
    AddMarker();
    manager->Run();
    EXPECT_EQ(manager->GetCurrentState(), 0);
    g_taskList->RunAll();
    EXPECT_EQ(deleted, 0);
}

TEST_F(SceneManagerTest, LastRequestWinsAndTheCurrentStateIsNotEnteredAgain)
{
    manager->Run();
    manager->SetNextScene(SceneState::Difficulty);
    manager->SetNextScene(SceneState::Title);
    AddMarker();
    manager->Run();
    EXPECT_EQ(manager->GetCurrentState(), 1);
    g_taskList->RunAll();
    EXPECT_EQ(deleted, 1) << "entering the title ends the previous scene's tasks";

    AddMarker();
    manager->SetNextScene(SceneState::Title);
    manager->Run();
    g_taskList->RunAll();
    EXPECT_EQ(deleted, 1) << "requesting the current state does no entry work";
}

TEST_F(SceneManagerTest, StageRunningOnlyInTheStage)
{
    manager->SetLevel(3);
    manager->SetNextScene(SceneState::Stage);
    manager->Run();
    EXPECT_TRUE(manager->IsStageRunning());
    manager->SetNextScene(SceneState::GameOver);
    manager->Run();
    EXPECT_FALSE(manager->IsStageRunning());
}

TEST_F(SceneManagerTest, QuitIsFinal)
{
    manager->Run();
    manager->SetNextScene(SceneState::Quit);
    manager->SetNextScene(SceneState::Title);
    EXPECT_EQ(manager->GetRequestedState(), SceneState::Quit);
}

TEST_F(SceneManagerTest, CreateScenesFillsTheAngleTables)
{
    g_sinTable[90] = 0.0f;
    EXPECT_EQ(manager->CreateScenes(), 0);
    EXPECT_EQ(g_sinTable[90], 1.0f);
    manager->DeleteScenes();
}

}  // namespace
