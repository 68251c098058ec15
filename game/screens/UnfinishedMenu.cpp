#include "game/screens/UnfinishedMenu.h"

#include "engine/GraphicsEngine.h"

UnfinishedMenu::UnfinishedMenu()
{
    type = TaskType::Screen;
}

void UnfinishedMenu::Exec()
{
    keys.Read();
    g_graphicsEngine->DrawSprite(260, 252 + 26 * cursor, 6, 0, 56, 16, 16);
}
