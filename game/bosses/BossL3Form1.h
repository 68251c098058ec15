#pragma once
#include "game/bosses/BossL3Form.h"

// The first level-3 form: rises untouchable from below the field, then sways and cycles
// through rings, aimed spreads with summons, and emitters with a stream.
class BossL3Form1 : public BossL3Form {
public:
    explicit BossL3Form1(int param);
    void Exec() override;

private:
    void Rise();
    bool PatternStep() override;

    bool RingsStep();
    bool SpreadsStep();
    bool EmittersStep();

    using Handler = void (BossL3Form1::*)();
    static constexpr Handler kHandlers[2] = {&BossL3Form1::Rise, &BossL3Form1::FightInPatterns};
};
