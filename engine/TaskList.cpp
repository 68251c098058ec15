#include "engine/TaskList.h"

TaskList* g_taskList = nullptr;

TaskList::TaskList()
{
    head = new Task;
    tail = new Task;
    head->state = TaskState::Sentinel;
    head->priority = PriorityHead;
    tail->state = TaskState::Sentinel;
    tail->priority = PriorityTail;
    head->next = tail;
    tail->prev = head;
    count = 2;
}

TaskList::~TaskList()
{
    Task* node = head;
    while (node) {
        Task* next = node->next;
        delete node;
        node = next;
    }
}

Task* TaskList::Insert(Task* task, int priority)
{
    task->state = TaskState::Live;
    task->priority = priority;
    Task* at = head;
    while (at->next && at->priority <= priority) {
        at = at->next;
    }
    // at is the first node of greater priority (the tail at the latest).
    task->prev = at->prev;
    task->next = at;
    at->prev->next = task;
    at->prev = task;
    ++count;
    return task;
}

Task* TaskList::Kill(Task* task)
{
    task->state = TaskState::Killed;
    return task;
}

void TaskList::KillAllLive()
{
    for (Task* t = head; t; t = t->next) {
        if (t->state == TaskState::Live) {
            t->state = TaskState::Killed;
        }
    }
}

void TaskList::RunAll()
{
    for (Task* t = head; t; t = t->next) {
        if (t->state == TaskState::Live) {
            t->Exec();
        }
    }
    Task* t = head;
    while (t) {
        Task* next = t->next;
        if (t->state == TaskState::Killed) {
            t->prev->next = t->next;
            t->next->prev = t->prev;
            --count;
            t->state = TaskState::Unlinked;
            delete t;
        }
        t = next;
    }
}

Task* TaskList::FindPlayer()
{
    if (!g_taskList) {
        return nullptr;
    }
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state == TaskState::Live && t->type == TaskType::Player) {
            return t;
        }
    }
    return nullptr;
}
