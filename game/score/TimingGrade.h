#pragma once
// How close to its target second an enemy was destroyed.
enum class TimingGrade : int {
    Exact = 0,  // on the target second
    Near = 1,   // one second off
    Miss = 2,   // any other moment, an escape, a boss form destroyed too early or too late
};
