#pragma once
#include <cstdint>

#include "engine/Task.h"
#include "game/screens/ScreenKeys.h"

// The stage-clear screen: a frame around a picture, the clear banner sliding in, then the result
// lines one second apart (items, gauge lost, score, rank). A key skips ahead; after the rank a key
// fades back to the title.
class StageClearTally : public Task {
public:
    StageClearTally();
    void Exec() override;
    static StageClearTally* Create(int priority);

    int GetLineCount() const { return lineCount; }

private:
    // The rank cell (0 best .. 3 lowest) and whether a plus follows it, for a gauge loss on a
    // difficulty level.
    struct Rank {
        int cell;
        bool plus;
    };
    static Rank RankFor(int loss, int level);

    using Handler = void (StageClearTally::*)();
    static const Handler kHandlers[2];

    void SlideIn();
    void Lines();
    void NextLine();
    void DrawFrame() const;
    void DrawHeader() const;
    // Right-aligned, units digit at x 500, no leading zeros.
    void DrawNumber(int value, int y) const;

    ScreenKeys keys;
    float slideX = 0.0f;  // pixels of the banner revealed
    float lineTimer = 0.0f;  // ticks until the next line
    std::uint8_t lineCount = 0;  // 0 during the slide-in, then the lines shown
};
