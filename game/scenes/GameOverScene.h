#pragma once

class GameOverScene {
public:
    virtual ~GameOverScene() = default;
    void Enter();
    void Exec();
};

extern GameOverScene* g_gameOverScene;
