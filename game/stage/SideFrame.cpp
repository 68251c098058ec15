#include "game/stage/SideFrame.h"

#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"

SideFrame* SideFrame::Create(int priority)
{
    return InsertNew<SideFrame>(priority);
}

void SideFrame::Exec()
{
    GraphicsEngine* g = g_graphicsEngine;
    g->DrawSprite(0, 0, 1, 0, 0, 128, 256);
    g->DrawSprite(0, 256, 2, 0, 0, 128, 224);
    g->DrawSprite(512, 0, 1, 128, 0, 128, 256);
    g->DrawSprite(512, 256, 2, 128, 0, 128, 224);
    if (g_sceneManager->GetRequestedState() == SceneState::Title) {
        g_scoreTable->DrawHighScore(268, 0);
    }
    if (g_sceneManager->IsStageRunning()) {
        g_scoreTable->DrawScore(268, 0);
        g_scoreTable->DrawMultiplier(128, 462);
    }
}
