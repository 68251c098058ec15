#pragma once
#include "engine/Task.h"
#include "game/screens/ScreenKeys.h"

// The game-over label, waiting for Z, X, C or V to go back to the title.
class GameOverScreen : public Task {
public:
    GameOverScreen();
    void Exec() override;
    static GameOverScreen* Create(int priority);

private:
    ScreenKeys keys;
};
