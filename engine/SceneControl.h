#pragma once

// What the application frame, the input and the music thread ask of the game's scene manager.
// The scene manager implements it and registers itself in g_sceneControl for its lifetime, so
// that the engine never needs to know a game class.
class SceneControl {
public:
    virtual ~SceneControl() = default;

    // Runs one frame of the current scene.
    virtual void Run() = 0;
    // Asks for the program to end at the next Run (SetNextScene with the quit state).
    virtual void RequestQuit() = 0;
    // The quit state has been asked for (an error report ends even a paused game).
    virtual bool IsQuitRequested() const = 0;
    virtual bool IsPaused() const = 0;
    virtual void SetPaused(bool flag) = 0;
    virtual bool IsInputFrozen() const = 0;
    virtual void SetMusicReady(bool flag) = 0;
    // The window is being destroyed: what the game keeps on disk is written now.
    virtual void OnWindowDestroyed() = 0;
};

extern SceneControl* g_sceneControl;
