#include "engine/TaskList.h"

#include <iterator>

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
    // After the last node of the greatest priority not above this one (the head when none).
    auto above = lastOf.upper_bound(priority);
    Task* after = above == lastOf.begin() ? head : std::prev(above)->second;
    task->prev = after;
    task->next = after->next;
    after->next->prev = task;
    after->next = task;
    lastOf[priority] = task;
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
            Unlink(t);
            t->state = TaskState::Unlinked;
            delete t;
        }
        t = next;
    }
}

void TaskList::Unlink(Task* task)
{
    auto last = lastOf.find(task->priority);
    if (last != lastOf.end() && last->second == task) {
        if (task->prev != head && task->prev->priority == task->priority) {
            last->second = task->prev;
        } else {
            lastOf.erase(last);
        }
    }
    task->prev->next = task->next;
    task->next->prev = task->prev;
    --count;
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
