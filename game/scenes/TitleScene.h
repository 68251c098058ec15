#pragma once

class TitleScene {
public:
    virtual ~TitleScene() = default;
    void Enter();
    void Exec();
};

extern TitleScene* g_titleScene;
