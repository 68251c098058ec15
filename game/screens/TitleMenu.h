#pragma once
#include "engine/Task.h"
#include "game/screens/MenuCursor.h"
#include "game/screens/ScreenKeys.h"

// The title screen's menu: start or quit.
class TitleMenu : public Task {
public:
    TitleMenu();
    void Exec() override;
    static TitleMenu* Create(int priority);

private:
    void Draw();
    void HandleKeys();

    ScreenKeys keys;
    MenuCursor menu;
};
