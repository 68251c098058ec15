#pragma once
#include "engine/Task.h"
#include "game/screens/ScreenKeys.h"

// A bare menu that no scene opens: it reads the keys and draws its cursor, nothing more.
class UnfinishedMenu : public Task {
public:
    UnfinishedMenu();
    void Exec() override;

private:
    ScreenKeys keys;
    int cursor = 0;
};
