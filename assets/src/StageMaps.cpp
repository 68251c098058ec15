// The stage-1 enemy maps, one per difficulty level. A row is released about every second from
// clock second 5, so row r comes at about second 5 + r; an offset of k puts the enemy's target
// second k seconds after its own row. Offsets follow each kind's flight: kind 1 and kind 2 stop
// about 2 s after entering (3-4), kind 3 sinks slowly through the field (5-8), kind 4 homes in
// at once and kind 5 dives after 1.3 s (2). Adjacent columns are 32 px apart and enemies are
// 48 px wide, so enemies of one row stand at least two columns apart. The stage music plays
// from the scene; the maps start the boss track (4) with the warning, and the two harder levels
// switch to the second map track (5) for their second half.
#include "StageMaps.h"

#include <stdexcept>

namespace {

// Level 0: one or two enemies at a time with room to wait for the second.
const char* const kLevel0 = R"(
# first contact: single kind-1 enemies from alternating sides
.   .   1:3 .   .   .   .   .   .   .   .   .
rest 2
.   .   .   .   .   .   .   .   1:3 .   .   .
rest 2
.   .   .   .   .   1:3 .   .   .   .   .   .
rest 3
# a pair on one second
.   .   1:3 .   .   .   .   .   1:3 .   .   .
rest 4
# gunners: they climb away unless shot
.   .   .   .   2:4 .   .   .   .   .   .   .
rest 3
.   .   .   .   .   .   .   2:4 .   .   .   .
rest 4
# the first turret, sinking down the middle
.   .   .   .   .   3:7 .   .   .   .   .   .
rest 6
.   1:3 .   .   .   .   .   .   .   .   .   .
rest 2
.   .   .   .   .   .   .   .   .   1:3 .   .
rest 4
.   .   2:4 .   .   .   .   .   2:4 .   .   .
rest 5
.   .   .   .   .   2:3 .   .   .   .   .   .
rest 4
# rammers home in on the ship
.   .   .   4:2 .   .   .   .   .   .   .   .
rest 3
.   .   .   .   .   .   .   4:2 .   .   .   .
rest 4
# a diver worth 1000
.   .   .   .   .   5:2 .   .   .   .   .   .
rest 5
.   3:6 .   .   .   .   .   .   .   3:8 .   .
rest 6
.   .   .   .   1:3 .   1:4 .   .   .   .   .
rest 4
.   .   2:4 .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   2:4 .   .   .
rest 4
.   .   .   .   4:2 .   .   .   .   .   .   .
rest 2
.   .   .   .   .   .   .   4:2 .   .   .   .
rest 4
.   .   5:2 .   .   .   .   .   .   .   .   .
rest 3
.   .   .   .   .   .   .   .   5:2 .   .   .
rest 5
# the warning with the boss track, then the boss once the banner has gone
W   M:4 .   .   .   .   .   .   .   .   .   .
rest 4
B:30 .  .   .   .   .   .   .   .   .   .   .
)";

// Level 1: level 0's pace with a few more enemies; its boss is a single diver.
const char* const kLevel1 = R"(
.   .   1:3 .   .   .   .   .   1:3 .   .   .
rest 2
.   .   .   .   .   1:3 .   .   .   .   .   .
rest 2
.   1:3 .   .   .   .   .   .   .   1:4 .   .
rest 3
.   .   .   .   2:4 .   .   .   .   .   .   .
rest 2
.   .   .   .   .   .   .   2:4 .   .   .   .
rest 3
.   .   .   .   .   3:7 .   .   .   .   .   .
rest 3
.   .   1:3 .   .   .   .   .   1:3 .   .   .
rest 3
.   .   2:4 .   .   .   .   .   2:4 .   .   .
rest 4
.   .   .   4:2 .   .   .   .   .   .   .   .
rest 2
.   .   .   .   .   .   .   4:2 .   .   .   .
rest 3
.   .   .   .   .   5:2 .   .   .   .   .   .
rest 4
.   3:6 .   .   .   .   .   .   .   3:8 .   .
rest 4
.   .   .   .   1:3 .   1:4 .   .   .   .   .
rest 3
.   .   2:r .   .   .   .   .   2:r .   .   .
rest 3
.   .   .   .   4:2 .   .   .   .   .   .   .
.   .   .   .   .   .   .   4:2 .   .   .   .
rest 3
.   .   5:2 .   .   .   .   .   5:3 .   .   .
rest 5
W   M:4 .   .   .   .   .   .   .   .   .   .
rest 4
B:5 .   .   .   .   .   .   .   .   .   .   .
)";

// Level 2: rows of three and four, random offsets, turrets that fire all the while.
const char* const kLevel2 = R"(
.   .   1:r .   .   .   .   .   1:r .   .   .
rest 1
.   .   .   .   .   1:3 .   .   .   .   .   .
rest 2
.   1:3 .   .   .   1:4 .   .   .   1:3 .   .
rest 3
.   .   .   2:4 .   .   .   2:4 .   .   .   .
rest 2
.   .   .   .   .   3:r .   .   .   .   .   .
rest 2
.   1:r .   .   .   .   .   .   .   1:r .   .
rest 2
.   .   .   4:2 .   .   .   4:3 .   .   .   .
rest 3
.   .   2:r .   .   .   2:r .   .   .   2:r .
rest 3
.   .   .   .   .   5:2 .   .   .   .   .   .
rest 3
.   3:6 .   .   .   .   .   .   .   3:7 .   .
rest 2
.   .   .   1:3 .   .   .   1:3 .   .   .   .
rest 2
.   .   4:r .   .   .   .   .   4:r .   .   .
rest 4
# second half: the tense track
M:5 .   .   .   .   .   .   .   .   .   .   .
.   .   1:r .   .   1:r .   .   1:r .   .   .
rest 2
.   .   .   .   2:4 .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   2:4 .   .   .
rest 2
.   3:r .   .   .   .   .   .   .   3:r .   .
rest 2
.   .   .   5:2 .   .   .   5:3 .   .   .   .
rest 3
.   1:3 .   .   4:2 .   .   4:2 .   .   1:3 .
rest 3
.   .   2:r .   .   2:r .   .   2:r .   .   .
rest 3
.   .   .   .   .   3:6 .   .   .   .   .   .
.   .   1:r .   .   .   .   .   1:r .   .   .
rest 2
.   .   .   4:r .   .   .   4:r .   .   .   .
rest 2
.   5:2 .   .   .   .   .   .   .   5:2 .   .
rest 5
W   M:4 .   .   .   .   .   .   .   .   .   .
rest 4
B:30 .  .   .   .   .   .   .   .   .   .   .
)";

// Level 3: busy rows and the carriers, whose target comes after their descent (kind 5 here).
const char* const kLevel3 = R"(
.   .   1:r .   .   1:r .   .   1:r .   .   .
rest 2
.   1:3 .   .   .   .   .   .   .   1:3 .   .
rest 2
.   .   .   2:r .   .   .   2:r .   .   .   .
rest 2
.   .   .   .   .   3:6 .   .   .   .   .   .
rest 1
.   1:r .   .   .   .   .   .   .   1:r .   .
rest 2
.   .   4:r .   .   4:r .   .   4:r .   .   .
rest 3
.   1:3 .   .   .   5:5 .   .   .   1:3 .   .
rest 4
.   .   2:r .   .   .   .   .   2:r .   .   .
rest 2
.   3:7 .   .   .   .   .   .   .   3:6 .   .
rest 2
.   .   .   1:3 .   .   .   1:3 .   .   .   .
rest 2
.   .   4:r .   .   .   .   .   4:r .   .   .
rest 3
# second half: the tense track
M:5 .   .   .   .   .   .   .   .   .   .   .
.   1:r .   .   1:r .   .   1:r .   .   1:r .
rest 3
.   .   .   2:4 .   .   .   2:4 .   .   .   .
rest 2
.   .   5:6 .   .   .   .   .   4:r .   .   .
rest 3
.   .   .   .   .   3:5 .   .   .   .   .   .
.   .   4:r .   .   .   .   .   4:r .   .   .
rest 3
.   .   1:r .   .   .   2:r .   .   1:r .   .
rest 3
.   3:6 .   .   .   .   .   .   .   3:7 .   .
rest 2
.   .   .   4:r .   .   .   4:r .   .   .   .
rest 2
.   .   1:r .   .   .   .   .   5:6 .   .   .
rest 4
.   .   2:r .   .   2:r .   .   2:r .   .   .
rest 4
W   M:4 .   .   .   .   .   .   .   .   .   .
rest 4
B:30 .  .   .   .   .   .   .   .   .   .   .
)";

}  // namespace

std::string StageMapText(int level) {
  switch (level) {
    case 0: return kLevel0;
    case 1: return kLevel1;
    case 2: return kLevel2;
    case 3: return kLevel3;
    default: throw std::runtime_error("no enemy map for level " + std::to_string(level));
  }
}
