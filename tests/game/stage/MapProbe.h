#pragma once
// Stands in for the enemy kinds and the boss behind the map's factory table: records every call
// the map makes, or creates a real graded enemy in place of a kind.
#include <vector>

#include "game/stage/EnemyMap.h"
#include "tests/game/CombatFixture.h"

struct MapCall {
    int kind;  // 1..5, or 0 for the boss
    int priority;
    int param;
    float x, y;
    bool operator==(const MapCall&) const = default;
};

class EnemyMapFixture : public CombatFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the map file of a level into the program folder copy, which is the current folder.
    void WriteMap(int level, const std::vector<unsigned char>& bytes);
    // Every kind makes the demonstration target instead, which takes its target second by the
    // common rule, so the map's part in it can be seen.
    static void KindsMakeGradedTargets();
    static EnemyMap* LiveMap();

public:
    // What the map asked of the factories, in order.
    static std::vector<MapCall> calls;

private:
    EnemyMap::KindFactory savedKinds[5] = {};
    EnemyMap::BossFactory savedBoss = nullptr;
};

// One cell's two bytes.
inline void PutCell(std::vector<unsigned char>& bytes, int code, int param)
{
    bytes.push_back(static_cast<unsigned char>(code));
    bytes.push_back(static_cast<unsigned char>(param));
}
