#include "game/bosses/BossStationForm.h"

#include "engine/GraphicsEngine.h"

BossStationForm::BossStationForm(int param, float x, float y, NextForm nextForm, int nextParam)
    : nextForm(nextForm), nextParam(nextParam)
{
    PlaceStationBound(param, 5, x, y, 80.0f, 2000);
}

void BossStationForm::Exec()
{
    (this->*kHandlers[stateIndex])();
    FinishBossFrame(nextForm, nextParam);
}

void BossStationForm::Approach()
{
    ApproachStation(acceleration, &frame, &frameTimer);
    DrawCell(frame);
    if (AtStation()) {
        frame = 3;
        frameTimer = 20.0f;
        stateIndex = 1;
    }
}

void BossStationForm::Draw() const
{
    int px = static_cast<int>(x);
    int py = static_cast<int>(y);
    if (lap != 2) {
        DrawCell(frame);
    } else if (stepCounter == 0) {
        g_graphicsEngine->DrawSprite(px, py, 18, 0, 128, 128, 128);
    } else {
        // The wide pose spans two slots.
        g_graphicsEngine->DrawSprite(px - 32, py, 18, 128, 128, 128, 128);
        g_graphicsEngine->DrawSprite(px + 96, py, 19, 0, 128, 64, 128);
    }
}

void BossStationForm::Attack()
{
    TurnCells(&frame, &frameTimer);
    Draw();
    if (!AttackDue()) {
        return;
    }
    if (PatternStep()) {
        PatternEnded();
        PauseAfterPattern();
        lap = (lap + 1) % 3;
    }
}
