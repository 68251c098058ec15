#pragma once
#include "engine/Task.h"
#include "game/MenuCursor.h"
#include "game/ScreenKeys.h"

// The difficulty choice: entries for levels 0, 2 and 3, each with its preview picture.
class DifficultyMenu : public Task {
public:
    DifficultyMenu();
    void Exec() override;
    static DifficultyMenu* Create(int priority);

private:
    void Draw();
    void HandleKeys();

    ScreenKeys keys;
    MenuCursor menu;
};
