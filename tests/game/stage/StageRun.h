#pragma once
// Plays one level's stage in-process on the virtual clock and measures it: how many enemies and
// enemy shots come in every ten seconds, when the boss comes, and where every map enemy is
// during its target second. The ship is either left alone (no input) or steered by a scripted
// attentive player who dodges and shoots only where the shot lands on the target second.
#include <string>
#include <vector>

#include "tests/game/GameFixture.h"

// One map enemy as it stood during its target second.
struct TargetSecondCheck {
    std::string kind;  // the enemy's class name
    int bornSecond = 0;
    int targetSecond = 0;
    // Frames of the target second in which it was live, hittable and inside the play field
    // above the ship's lowest line, where a shot from below reaches it.
    int hittableFrames = 0;
    bool escaped = false;  // left the field, or its run ended, without being destroyed
};

// One boss form: the clock seconds at which it came, its target second and when it ended.
struct BossForm {
    int bornSecond, targetSecond, endSecond;
};

struct StageFigures {
    // Indexed by clock second / 10: map enemies and enemy shots created in those ten seconds,
    // up to the boss.
    std::vector<int> enemies;
    std::vector<int> shots;
    int peakShots = 0;         // most enemy shots alive at once before the boss
    int bossSecond = -1;       // clock second at which the boss came; -1 never
    int lastSecond = 0;        // clock second at which the run ended
    int gaugeAtBoss = 0;
    int gauge = 0;             // at the end of the run
    int lowestGauge = 100;
    bool cleared = false;      // the ship's stage clear was called
    bool gameOver = false;
    int exact = 0, near = 0, miss = 0, escaped = 0, shipsLost = 0;
    std::vector<TargetSecondCheck> checks;  // every map enemy with a target second
    std::vector<BossForm> forms;
};

class StageRun : public GameFixture {
protected:
    enum class Player {
        None,      // no input; the gauge is kept full so the map runs to its end
        Scripted,  // the scripted player; the gauge counts as in play
    };
    // Starts the game when needed and plays the level's stage until it is cleared, lost, or
    // maxSeconds of the clock have passed (with no input: until the boss has come).
    StageFigures Play(int level, Player player, int maxSeconds = 300);
    static std::string Describe(int level, const StageFigures& f);

private:
    bool started = false;
};
