#pragma once

// Starts the resource loader and waits, at about two frames a second, until it and the music
// thread are ready.
class LoadingScene {
public:
    virtual ~LoadingScene() = default;
    void Enter();
    // 1 ready, 0 keep waiting, -1 give up.
    int Exec();

private:
    int tries = 0;
};

extern LoadingScene* g_loadingScene;
