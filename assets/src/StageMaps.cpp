// The stage-1 enemy maps, one per difficulty level. A row is released about every second from
// clock second 5, so row r comes at about second 5 + r; an offset of k puts the enemy's target
// second k seconds after its own row. Offsets follow each kind's flight so that every enemy is
// on the field and in reach of the ship's shots on its second: kind 1 and kind 2 stop about 2 s
// after entering (2-4), kind 3 sinks slowly through the field (4-5), kind 4 homes in at once and
// kind 5 dives after 1.3 s (2); the level-3 carrier (kind 5) becomes a target after its descent
// and fires its rings from about 2 s on, so it is due at 3. Adjacent columns are 32 px apart and
// enemies are 48 px wide, so enemies of one row stand at least two columns apart.
//
// Every map builds toward its boss in four waves, each busier than the one before, and few
// target seconds fall together, so that a player who shoots on time can take every enemy.
// Each level opens at about the pace at which the level below it ends. The boss cell's offset
// is short: the first form's target second comes a few seconds after it is in place, so neither
// an on-time kill nor the hover after an early one keeps the player waiting long.
//
// The stage music plays from the scene; the maps start the boss track (4) with the warning, and
// the two harder levels switch to the second map track (5) for their last wave.
#include "StageMaps.h"

#include <stdexcept>

namespace {

// Level 0: single enemies at first, then one to shoot about every second.
const char* const kLevel0 = R"(
# first contact: one kind-1 enemy at a time, stopped where the digits are easy to read
.   .   1:3 .   .   .   .   .   .   .   .   .
rest 2
.   .   .   .   .   .   .   .   1:3 .   .   .
rest 2
.   .   .   .   .   1:3 .   .   .   .   .   .
rest 2
.   .   .   1:3 .   .   .   1:4 .   .   .   .
rest 2
# a gunner holds still while it fires, then climbs away unless shot
.   .   .   .   .   2:3 .   .   .   .   .   .
rest 2
.   1:3 .   .   .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   .   .   1:3 .   .
rest 2
# second wave: gunners, rammers and the first turret
.   .   .   2:3 .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   2:3 .   .   .   .
rest 1
.   .   .   .   4:2 .   .   .   .   .   .   .
rest 2
.   .   .   .   .   3:4 .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   .   4:3 .   .   .
rest 1
.   .   1:3 .   .   .   .   .   .   1:4 .   .
rest 1
.   .   .   .   .   .   5:3 .   .   .   .   .
rest 2
# third wave: something to shoot every second
.   2:3 .   .   .   .   .   .   .   2:4 .   .
rest 1
.   .   .   .   .   1:3 .   .   .   .   .   .
rest 1
.   .   .   4:2 .   .   .   4:3 .   .   .   .
rest 1
.   .   .   .   .   .   .   .   3:4 .   .   .
rest 1
.   .   2:3 .   .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   5:2 .   .   .   .   .
rest 1
.   3:4 .   .   .   .   .   .   .   1:3 .   .
rest 1
.   .   .   .   2:3 .   .   .   .   .   .   .
rest 1
# the last wave before the boss: turrets, gunner pairs and divers
.   .   .   .   .   4:2 .   .   .   .   .   .
.   .   3:4 .   .   .   .   .   1:3 .   .   .
rest 1
.   .   .   5:3 .   .   .   .   .   .   .   .
.   2:3 .   .   .   .   .   .   .   2:4 .   .
rest 1
.   .   4:3 .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   3:4 .   .   .   1:3 .
rest 1
.   .   .   .   5:3 .   .   .   .   .   .   .
.   2:3 .   .   .   .   .   2:4 .   .   .   .
.   .   .   .   .   .   .   .   3:5 .   .   .
rest 4
# the warning with the boss track, then the boss once the banner has gone
W   M:4 .   .   .   .   .   .   .   .   .   .
rest 4
B:8 .   .   .   .   .   .   .   .   .   .   .
)";

// Level 1: level 0's waves with a few more enemies; its boss is a single diver.
const char* const kLevel1 = R"(
# level 0's waves with a few more enemies; its boss is a single diver
.   .   .   .   .   .   .   .   1:3 .   .   .
rest 2
.   .   1:3 .   .   .   .   .   .   .   .   .
rest 2
.   .   .   .   .   1:3 .   .   .   .   .   .
rest 2
.   .   .   1:4 .   .   .   1:3 .   .   .   .
rest 2
# a gunner holds still while it fires, then climbs away unless shot
.   .   .   .   .   2:3 .   .   .   .   .   .
rest 1
.   4:2 .   .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   .   1:3 .   .
rest 1
.   1:3 .   .   .   .   .   .   .   .   .   .
rest 2
# second wave: gunners, rammers and the first turret
.   .   .   .   .   .   .   2:3 .   .   .   .
rest 1
.   .   .   2:3 .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   4:2 .   .   .   .   .
rest 2
.   .   .   .   .   3:4 .   .   .   .   .   .
rest 1
.   .   4:3 .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   1:3 .   .   .   .   .
.   1:4 .   .   .   .   .   .   1:3 .   .   .
rest 1
.   .   .   .   5:3 .   .   .   .   .   .   .
rest 2
# third wave: something to shoot every second
.   2:4 .   .   .   .   .   .   .   2:3 .   .
rest 1
.   .   .   .   .   1:3 .   .   .   .   .   .
rest 1
.   .   .   4:3 .   .   .   4:2 .   .   .   .
rest 1
.   .   3:4 .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   .   1:4 .   .
.   .   .   .   .   .   .   .   2:4 .   .   .
rest 1
.   .   .   .   5:3 .   .   .   .   .   .   .
rest 1
.   1:3 .   .   .   .   .   .   .   3:4 .   .
rest 1
.   .   .   .   .   .   2:3 .   .   .   .   .
.   .   4:3 .   .   .   .   .   .   .   .   .
# the last wave before the boss: turrets, gunner pairs and divers
.   .   .   .   .   4:3 .   .   .   .   .   .
.   .   1:3 .   .   .   .   .   3:4 .   .   .
rest 1
.   .   .   .   .   .   .   5:3 .   .   .   .
.   2:4 .   .   .   .   .   .   .   2:3 .   .
rest 1
.   .   .   .   .   .   .   .   4:3 .   .   .
1:3 .   .   .   3:4 .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   5:3 .   .   .   .   .
.   .   .   2:4 .   .   .   .   .   2:3 .   .
.   .   3:5 .   .   .   .   .   .   .   .   .
rest 4
# the warning with the boss track, then the boss once the banner has gone
W   M:4 .   .   .   .   .   .   .   .   .   .
rest 4
B:5 .   .   .   .   .   .   .   .   .   .   .
)";

// Level 2: aimed lines, gunner bursts and slow turrets that fire all the while.
const char* const kLevel2 = R"(
# opening: kind-1 enemies that brake, fire one aimed line and dash
.   .   1:3 .   .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   .   1:3 .   .   .
rest 1
.   .   .   .   .   1:3 .   .   .   .   .   .
rest 2
.   .   .   1:3 .   .   .   1:4 .   .   .   .
rest 1
.   .   .   .   4:3 .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   2:3 .   .   .   .   .
rest 2
.   .   .   .   .   .   .   .   .   1:3 .   .
rest 1
.   1:3 .   .   .   .   .   .   .   .   .   .
rest 1
# second wave: a slow turret, gunners and rammers
.   .   .   .   .   3:4 .   .   .   .   .   .
rest 1
.   .   2:3 .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   2:3 .   .   .
rest 1
.   .   .   .   4:2 .   .   .   .   .   .   .
.   .   .   .   .   .   .   1:3 .   .   .   .
rest 1
.   1:3 .   .   .   .   .   .   .   .   4:2 .
rest 1
.   .   .   .   .   .   5:2 .   .   .   .   .
.   .   .   1:3 .   .   .   .   .   .   .   .
rest 1
# third wave: turrets on both sides, gunners and divers
.   .   3:4 .   .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   .   3:4 .   .   .
.   .   .   .   .   2:4 .   .   .   .   .   .
rest 1
.   1:4 .   .   .   .   .   .   .   4:3 .   .
rest 1
.   .   .   2:3 .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   5:3 .   .   .   .
rest 1
.   .   .   .   .   1:3 .   .   .   1:4 .   .
rest 1
.   .   4:3 .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   2:3 .   .   .   .   .
rest 1
# the tense track for the run-in to the boss
M:5 .   .   .   .   .   .   .   .   .   .   .
.   .   .   .   .   4:2 .   .   .   .   .   .
.   2:3 .   .   .   .   .   .   .   3:4 .   .
rest 1
.   .   .   1:3 .   .   .   1:4 .   .   .   .
rest 1
.   .   .   .   .   3:4 .   .   .   .   .   .
.   5:2 .   .   .   .   .   .   .   .   .   .
.   .   2:3 .   .   .   .   .   2:4 .   .   .
rest 1
.   .   .   .   .   .   4:3 .   .   .   .   .
.   .   .   .   1:3 .   .   .   .   .   1:4 .
.   .   .   .   .   .   .   .   .   3:4 .   .
.   1:4 .   .   .   5:2 .   .   .   .   .   .
.   .   .   2:4 .   .   .   2:5 .   .   .   .
rest 4
W   M:4 .   .   .   .   .   .   .   .   .   .
rest 4
B:9 .   .   .   .   .   .   .   .   .   .   .
)";

// Level 3: level 2's run-in pace at first, then the carriers in the last waves.
const char* const kLevel3 = R"(
# opening: kind-1 enemies and rammers, the level-2 run-in's pace
.   .   1:3 .   .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   .   1:3 .   .   .
.   .   .   .   .   4:2 .   .   .   .   .   .
rest 1
.   .   .   1:3 .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   1:3 .   .   4:2 .
rest 1
.   .   .   .   .   2:3 .   .   .   .   .   .
rest 1
.   1:3 .   .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   .   4:2 .   .
rest 1
.   .   .   .   1:3 .   .   .   .   .   .   .
rest 1
# second wave: gunner bursts and the first turret
.   .   .   .   .   .   2:4 .   .   .   .   .
.   .   4:2 .   .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   .   1:3 .   .   .
.   .   .   .   .   3:4 .   .   .   .   .   .
rest 1
.   1:3 .   .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   .   2:4 .   .
rest 1
.   .   .   .   4:2 .   .   .   .   .   .   .
.   .   .   .   .   .   .   1:3 .   .   .   .
rest 1
.   .   2:3 .   .   .   .   .   .   .   1:4 .
rest 1
.   .   .   .   .   4:2 .   .   .   .   .   .
# third wave: turrets on both sides, gunners between
.   3:4 .   .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   1:3 .   .   .
.   .   .   .   2:4 .   .   .   .   .   .   .
rest 1
.   .   .   .   .   .   .   .   .   3:4 .   .
.   .   .   .   .   .   4:2 .   .   .   .   .
.   .   5:3 .   .   .   .   .   .   .   .   .
rest 1
.   .   .   .   .   2:3 .   .   .   .   .   .
.   .   .   .   .   .   .   .   4:2 .   .   .
.   1:3 .   .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   2:4 .   .   .   .   .
.   .   .   .   .   .   .   .   .   3:4 .   .
rest 1
# the tense track for the run-in: the carriers drop their emitters
M:5 .   .   .   .   .   .   .   .   .   .   .
.   .   .   1:3 .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   .   1:3 .   .
.   .   .   .   .   .   4:2 .   .   .   .   .
.   3:4 .   .   .   .   .   .   .   .   .   .
.   .   .   .   2:4 .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   1:3 .   .   .
.   .   4:2 .   .   .   .   .   .   .   .   .
.   .   .   .   .   .   .   .   .   5:3 .   .
.   .   .   .   .   1:3 .   .   .   .   .   .
.   .   .   .   .   .   .   3:4 .   .   .   .
.   .   .   2:4 .   .   .   .   .   .   .   .
.   4:2 .   .   .   .   .   .   .   1:4 .   .
.   .   .   .   .   5:3 .   .   .   .   .   .
.   .   1:3 .   .   .   .   .   2:4 .   .   .
rest 4
W   M:4 .   .   .   .   .   .   .   .   .   .
rest 4
B:10 .   .   .   .   .   .   .   .   .   .   .
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
