#include "game/stage/GaugeDisplay.h"

#include <algorithm>

#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/score/ScoreTable.h"

GaugeDisplay::GaugeDisplay()
{
    type = TaskType::None;
}

GaugeDisplay* GaugeDisplay::Create(int priority)
{
    return InsertNew<GaugeDisplay>(priority);
}

void GaugeDisplay::Exec()
{
    // The gauge drops below 0 during the game-over fade: the bar is then empty, the pointer at
    // the bottom.
    int gauge = std::clamp(g_scoreTable->GetGauge(), 0, 100);
    int empty = 2 * (100 - gauge);
    GraphicsEngine* g = g_graphicsEngine;
    g->DrawSprite(56, 241, 6, 228, 31, 28, 15);
    if (empty < 200) {
        g->DrawSprite(61, 261 + empty, 6, 216, 56 + empty, 15, 200 - empty);
    }
    g->DrawSprite(56, 256, 6, 231, 46, 25, 210);
    g->DrawSprite(53, 258 + empty, 6, 208, 251, 8, 5);
}
