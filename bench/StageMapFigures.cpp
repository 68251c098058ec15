// Prints, for every level, the enemies and enemy shots that come in each ten seconds of the
// stage and the clock second of the boss (no input), then how a scripted attentive player fares:
// the gauge, whether it reaches the boss and whether it clears the stage.
// Run: SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy build/bench/bench_StageMapFigures
#include <cstdio>

#include "tests/game/stage/StageRun.h"

namespace {

class StageMapFigures : public StageRun {};

TEST_F(StageMapFigures, EveryLevel)
{
    for (int level = 0; level < 4; ++level) {
        std::printf("no input, %s", Describe(level, Play(level, Player::None)).c_str());
        std::printf("scripted, %s\n", Describe(level, Play(level, Player::Scripted)).c_str());
        std::fflush(stdout);
    }
}

}  // namespace
