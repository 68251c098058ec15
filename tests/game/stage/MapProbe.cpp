#include "tests/game/stage/MapProbe.h"

#include <fstream>

#include "engine/TaskList.h"
#include "game/enemies/IntroTarget.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"

std::vector<MapCall> EnemyMapFixture::calls;

namespace {

template <int Kind>
Task* RecordKind(int priority, int param, float x, float y)
{
    EnemyMapFixture::calls.push_back({Kind, priority, param, x, y});
    return nullptr;
}

Task* RecordBoss(int priority, int param)
{
    EnemyMapFixture::calls.push_back({0, priority, param, 0.0f, 0.0f});
    return nullptr;
}

Task* MakeTarget(int priority, int param, float x, float y)
{
    return IntroTarget::Create(priority, param, x, y);
}

}  // namespace

void EnemyMapFixture::SetUp()
{
    CombatFixture::SetUp();
    g_scoreTable->ResetForGame();
    g_sceneManager->SetLevel(0);
    calls.clear();
    for (int i = 0; i < 5; ++i) {
        savedKinds[i] = EnemyMap::kindFactories[i];
    }
    savedBoss = EnemyMap::bossFactory;
    EnemyMap::kindFactories[0] = &RecordKind<1>;
    EnemyMap::kindFactories[1] = &RecordKind<2>;
    EnemyMap::kindFactories[2] = &RecordKind<3>;
    EnemyMap::kindFactories[3] = &RecordKind<4>;
    EnemyMap::kindFactories[4] = &RecordKind<5>;
    EnemyMap::bossFactory = &RecordBoss;
}

void EnemyMapFixture::TearDown()
{
    for (int i = 0; i < 5; ++i) {
        EnemyMap::kindFactories[i] = savedKinds[i];
    }
    EnemyMap::bossFactory = savedBoss;
    CombatFixture::TearDown();
}

void EnemyMapFixture::WriteMap(int level, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(folder / "emap" / ("emap1_" + std::to_string(level) + ".bin"), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void EnemyMapFixture::KindsMakeGradedTargets()
{
    for (auto& factory : EnemyMap::kindFactories) {
        factory = &MakeTarget;
    }
}

EnemyMap* EnemyMapFixture::LiveMap()
{
    auto maps = LiveOfClass<EnemyMap>();
    return maps.empty() ? nullptr : maps[0];
}
