#include "tests/game/bosses/BossL3Fixture.h"

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "game/shots/ShotEmitterA.h"
#include "game/shots/ShotEmitterB.h"

void BossL3Fixture::SetUp()
{
    BossFixture::SetUp();
    clock->seconds = kHeldSecond;
    g_sceneManager->SetLevel(3);
}

std::vector<EnemyShot*> BossL3Fixture::Frame()
{
    ClearSoundRequests();
    auto shots = StepAt(kHeldSecond);
    for (int id = 0; id < kSoundEffectCount; ++id) {
        if (SoundRequested(id)) {
            soundFrames += 1;
            break;
        }
    }
    return shots;
}

std::vector<DrawnSprite> BossL3Fixture::Body() const
{
    std::vector<DrawnSprite> body;
    for (const DrawnSprite& s : SpritesFrom(0)) {
        if (s.w == 48 && s.h == 48) {
            body.push_back(s);
        }
    }
    return body;
}

std::vector<DrawnSprite> BossL3Fixture::FormDigits() const
{
    std::vector<DrawnSprite> digits;
    for (const DrawnSprite& s : SpritesFrom(7)) {
        if (s.y != clock->y + 7) {
            digits.push_back(s);
        }
    }
    return digits;
}

std::vector<DrawnSprite> BossL3Fixture::DigitsOf(const BossL3Form* form) const
{
    std::vector<DrawnSprite> digits;
    int row = static_cast<int>(form->y + 30.0f);
    for (const DrawnSprite& s : FormDigits()) {
        bool atForm = s.y == row && s.x >= static_cast<int>(form->x) - 24 && s.x < static_cast<int>(form->x) + 48;
        if (atForm || s.y == 462) {
            digits.push_back(s);
        }
    }
    return digits;
}

std::vector<EnemyShot*> BossL3Fixture::NextVolley(int maxFrames, int* frames)
{
    for (int i = 1; i <= maxFrames; ++i) {
        auto shots = Frame();
        if (!shots.empty()) {
            if (frames) {
                *frames = i;
            }
            return shots;
        }
    }
    return {};
}

std::vector<Task*> BossL3Fixture::TakeSummons(const Task* form)
{
    std::vector<Task*> taken;
    for (Task* t : LiveOfType(TaskType::Enemy)) {
        if (t != form) {
            taken.push_back(t);
            g_taskList->Kill(t);
        }
    }
    for (Task* t : LiveOfClass<ShotEmitterA>()) {
        g_taskList->Kill(t);
    }
    for (Task* t : LiveOfClass<ShotEmitterB>()) {
        g_taskList->Kill(t);
    }
    return taken;
}

int BossL3Fixture::AimFrom(const BossL3Form* form, const GameObject* ship)
{
    Point own, target;
    form->GetCenter(&own);
    ship->GetCenter(&target);
    return AngleDeg(own.x, own.y, target.x, target.y);
}

int Norm(int angle)
{
    return ((angle % 360) + 360) % 360;
}

std::vector<int> Directions(const std::vector<EnemyShot*>& shots)
{
    std::vector<int> out;
    for (EnemyShot* s : shots) {
        out.push_back(s->direction);
    }
    return out;
}
