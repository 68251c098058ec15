#pragma once

class DifficultyScene {
public:
    virtual ~DifficultyScene() = default;
    void Enter();
    void Exec();
};

extern DifficultyScene* g_difficultyScene;
