#pragma once
#include <atomic>
#include <cstdint>

#include "engine/SceneControl.h"
#include "game/scenes/SceneState.h"

// The game's top-level state machine and the holder of the game-wide state. A requested scene
// takes effect at the next Run, never in the middle of a frame. While it lives it is the
// engine's g_sceneControl.
class SceneManager : public SceneControl {
public:
    SceneManager();
    ~SceneManager() override;
    SceneManager(const SceneManager&) = delete;
    SceneManager& operator=(const SceneManager&) = delete;

    // Creates the scene objects and fills the angle tables; 0, or negative on failure.
    int CreateScenes();
    void DeleteScenes();
    // Runs the requested state's handler: its entry work when the state changed, then its frame.
    void Run() override;
    void RequestQuit() override { SetNextScene(SceneState::Quit); }
    bool IsQuitRequested() const override { return GetRequestedState() == SceneState::Quit; }
    // Writes the rankings back to the score file.
    void OnWindowDestroyed() override;
    // The last request before the next Run wins, except that a requested Quit is final.
    // Safe to call from any thread.
    void SetNextScene(SceneState state);
    void ReleaseSceneTextures();

    int GetLevel() const { return level; }
    void SetLevel(int value) { level = value; }
    SceneState GetRequestedState() const { return static_cast<SceneState>(requestedState.load()); }
    int GetCurrentState() const { return currentState; }
    bool IsStageRunning() const { return stageRunning != 0; }
    bool IsPaused() const override { return pauseFlag != 0; }
    void SetPaused(bool flag) override { pauseFlag = flag ? 1 : 0; }
    bool IsInputFrozen() const override { return inputFreeze != 0; }
    // The next four are read and written only under the game lock.
    bool IsMusicReady() const { return musicReady != 0; }
    void SetMusicReady(bool flag) override { musicReady = flag ? 1 : 0; }
    bool IsResourcesLoaded() const { return resourcesLoaded != 0; }
    void SetResourcesLoaded(bool flag) { resourcesLoaded = flag ? 1 : 0; }

    // The texture slots that belong to one scene, released on every change that kills tasks.
    static constexpr int kSceneTextureSlots[10] = {30, 31, 32, 13, 24, 25, 26, 27, 28, 29};

private:
    using Handler = void (SceneManager::*)(bool entering);
    static const Handler kHandlers[9];

    void RunLoading(bool entering);
    void RunTitle(bool entering);
    void RunBlank(bool entering);
    void RunDifficulty(bool entering);
    void RunStage(bool entering);
    void RunStageClear(bool entering);
    void RunGameOver(bool entering);
    void RunQuit(bool entering);

    // The entry work shared by the handlers, in its fixed order.
    void SetClearColor(std::uint32_t argb);
    void RequestMusic(int track);
    void EndPreviousScene();

    std::uint8_t pauseFlag;
    std::uint8_t inputFreeze;
    int level;
    int currentState;
    std::atomic<int> requestedState;
    int stageRunning;
    std::uint8_t musicReady;
    std::uint8_t resourcesLoaded;
};

extern SceneManager* g_sceneManager;
