#pragma once

class StageClearScene {
public:
    virtual ~StageClearScene() = default;
    void Enter();
    void Exec();
};

extern StageClearScene* g_stageClearScene;
