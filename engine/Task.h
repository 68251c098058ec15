#pragma once
#include "engine/TaskPriority.h"
#include "engine/TaskState.h"
#include "engine/TaskType.h"

// One node of the task list: every object of the running game. Exec updates and draws it.
class Task {
public:
    Task() = default;
    virtual ~Task() = default;
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    virtual void Exec() {}

    TaskState state = TaskState::Live;
    TaskType type = TaskType::None;
    int priority = 0;
    Task* prev = nullptr;
    Task* next = nullptr;
};
