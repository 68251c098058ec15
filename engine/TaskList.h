#pragma once
#include <map>
#include <new>
#include <utility>

#include "engine/Task.h"

// The one priority-ordered, doubly linked list of every task, between two sentinels.
class TaskList {
public:
    TaskList();
    ~TaskList();
    TaskList(const TaskList&) = delete;
    TaskList& operator=(const TaskList&) = delete;

    // Links the task after every node of equal priority; returns it.
    Task* Insert(Task* task, int priority);
    Task* Kill(Task* task);
    void KillAllLive();
    // Pass 1 runs every live task; pass 2 unlinks and deletes the killed ones.
    void RunAll();
    int Count() const { return count; }
    Task* First() const { return head->next; }
    // The first live player task, or null.
    static Task* FindPlayer();

private:
    void Unlink(Task* task);

    Task* head;
    Task* tail;
    int count;
    // The last linked node of each priority: where the next task of that priority goes, found
    // without walking the list.
    std::map<int, Task*> lastOf;
};

extern TaskList* g_taskList;

// What every task's Create does: allocates the task, constructs it with the arguments and
// inserts it at the priority. When the allocation fails nothing is inserted and the result is
// null.
template <class T, class... Args>
T* InsertNew(int priority, Args&&... args)
{
    T* task = new (std::nothrow) T(std::forward<Args>(args)...);
    if (task) {
        g_taskList->Insert(task, priority);
    }
    return task;
}
