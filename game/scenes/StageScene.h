#pragma once

class StageScene {
public:
    virtual ~StageScene() = default;
    void Enter();
    void Exec();
};

extern StageScene* g_stageScene;
