#pragma once

enum class TaskState : int {
    Live = 0,
    Unlinked = 1,  // taken out of the list, about to be deleted
    Killed = 2,    // unlinked and deleted at the end of this frame's run
    Sentinel = 3,  // one of the two list ends
};
