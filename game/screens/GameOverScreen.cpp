#include "game/screens/GameOverScreen.h"

#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/scenes/Fade.h"

GameOverScreen::GameOverScreen()
{
    type = TaskType::Screen;
}

GameOverScreen* GameOverScreen::Create(int priority)
{
    return InsertNew<GameOverScreen>(priority);
}

void GameOverScreen::Exec()
{
    keys.Read();
    g_graphicsEngine->DrawSprite(288, 232, 12, 0, 48, 64, 16);
    if (keys.z == KeyState::Pressed || keys.x == KeyState::Pressed || keys.c == KeyState::Pressed ||
        keys.v == KeyState::Pressed) {
        Fade::Create(PriorityFade, 16, SceneState::Title, FadeMode::OutToBlack);
    }
}
