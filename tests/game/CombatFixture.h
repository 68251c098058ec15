#pragma once
// An empty scene on the recording device in which a test creates the combat tasks it needs and
// runs the task list frame by frame at 60 frames per second.
#include <vector>

#include "engine/GameObject.h"
#include "engine/Task.h"
#include "tests/game/GameFixture.h"

// A ship that stands still where a test puts it: something to aim at and to collect items.
class StandingShip : public GameObject {
public:
    StandingShip(float x, float y);
    void Exec() override {}
    void OnStageClear() override {}
    static StandingShip* Create(float x, float y);
};

class CombatFixture : public GameFixture {
protected:
    void SetUp() override;
    // Takes the window's key messages, then runs the task list once as a drawn frame would,
    // recording only its sprites.
    void RunTasks(float frameTime = 1.0f / 60.0f);
    void RunTasks(int frames, float frameTime = 1.0f / 60.0f);
    // Live tasks of one type, in list order.
    static std::vector<Task*> LiveOfType(TaskType type);
    // True while the task is still linked and live (a killed task is deleted after its frame).
    static bool IsLive(const Task* task);
    static void ClearSoundRequests();
    // The live tasks of one class, in list order.
    template <class T>
    static std::vector<T*> LiveOfClass()
    {
        std::vector<T*> found;
        for (Task* t = FirstTask(); t; t = t->next) {
            if (auto* wanted = dynamic_cast<T*>(t); wanted && t->state == TaskState::Live) {
                found.push_back(wanted);
            }
        }
        return found;
    }
    static Task* FirstTask();
    static int SoundRequested(int id);
};
