// What each map cell code makes. The kinds and the boss are reached through one factory table
// so that each joins the map in a single line here: include its header and put its entry in.
// The factories whose level classes have headers of their own (the boss chains, the level-3
// carrier) are defined here too, so that no base includes its own subclasses.
#include <cstdint>

#include "engine/TaskPriority.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL0Form1.h"
#include "game/bosses/BossL1.h"
#include "game/bosses/BossL2Form1.h"
#include "game/bosses/BossL3Form1.h"
#include "game/enemies/CreateForLevel.h"
#include "game/enemies/Enemy1.h"
#include "game/enemies/Enemy2.h"
#include "game/enemies/Enemy3.h"
#include "game/enemies/Enemy4.h"
#include "game/enemies/Enemy5.h"
#include "game/enemies/Enemy5L3.h"
#include "game/stage/EnemyMap.h"
#include "game/stage/WarningBanner.h"

Enemy5* Enemy5::Create(int priority, int param, float x, float y)
{
    return CreateForLevel<Enemy5, Enemy5L0, Enemy5L1, Enemy5L2, Enemy5L3>(priority, param, x, y);
}

Task* Boss::Create(int priority, int param)
{
    return CreateForLevel<Boss, BossL0Form1, BossL1, BossL2Form1, BossL3Form1>(priority, param);
}

namespace {
// Adapts a family's Create, whatever class it returns, to the table's pointer type.
template <class Kind>
[[maybe_unused]] Task* CreateKind(int priority, int param, float x, float y)
{
    return Kind::Create(priority, param, x, y);
}
template <class Chain>
[[maybe_unused]] Task* CreateBoss(int priority, int param)
{
    return Chain::Create(priority, param);
}
}  // namespace

EnemyMap::KindFactory EnemyMap::kindFactories[5] = {
    &CreateKind<Enemy1>,
    &CreateKind<Enemy2>,
    &CreateKind<Enemy3>,
    &CreateKind<Enemy4>,
    &CreateKind<Enemy5>,
};

EnemyMap::BossFactory EnemyMap::bossFactory = &CreateBoss<Boss>;

void EnemyMap::SpawnCell(std::uint8_t code, std::uint8_t param, float x)
{
    switch (code) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
        if (KindFactory create = kindFactories[code - 1]) {
            create(PriorityEnemy, param, x, kEntryY);
        }
        break;
    case 0x40:  // '@': the column does not matter
        WarningBanner::Create(PriorityEnemy);
        break;
    case 0x70:  // 'p': the boss places itself
        if (bossFactory) {
            bossFactory(PriorityEnemy, param);
        }
        break;
    default:
        break;
    }
}
