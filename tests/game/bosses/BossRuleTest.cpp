// The boss rule: early, timely and late ends of a form, the hand-over along the chain, the
// stage clear after the last form, and the choice of boss by level.
#include <algorithm>

#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL0Form1.h"
#include "game/bosses/BossL0Form2.h"
#include "game/bosses/BossL0Form3.h"
#include "game/score/GradeLabel.h"
#include "game/player/PlayerShip.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "tests/game/bosses/BossFixture.h"

namespace {

// A form that stands still, so that only the rule acts on it. Middle forms hand over to another
// standing form; the last one ends the stage.
class StandingForm : public Boss {
public:
    StandingForm(int target, bool last, float x, float y) : last(last)
    {
        this->x = x;
        this->y = y;
        w = h = 128;
        hitHalfSize[0] = hitHalfSize[1] = 20;
        hp = 1;
        scoreValue = 2000;
        type = TaskType::Enemy;
        targetSecond = target;
    }
    void Exec() override
    {
        if (last) {
            FinishBossFrame(nullptr, 0);
        } else {
            FinishBossFrame(&StandingForm::CreateNext, 45);
        }
    }
    static StandingForm* Create(int target, bool last)
    {
        return static_cast<StandingForm*>(
            g_taskList->Insert(new StandingForm(target, last, 200.0f, 100.0f), PriorityEnemy));
    }
    static Task* CreateNext(int priority, int param, float x, float y)
    {
        nextParam = param;
        return g_taskList->Insert(new StandingForm(1000, true, x, y), priority);
    }
    bool last;
    static inline int nextParam = -1;
};

class BossRuleTest : public BossFixture {
protected:
    void SetUp() override
    {
        BossFixture::SetUp();
        StandingForm::nextParam = -1;
    }
    // The forms alive after the first, i.e. those the rule handed over to.
    std::vector<StandingForm*> NextForms(StandingForm* first)
    {
        std::vector<StandingForm*> found;
        for (StandingForm* f : LiveOfClass<StandingForm>()) {
            if (f != first) {
                found.push_back(f);
            }
        }
        return found;
    }
    std::vector<GradeLabel*> Labels() { return LiveOfClass<GradeLabel>(); }
    // Target-second digits drawn in the last frame, leaving out the clock's own (slot 7 too).
    std::vector<DrawnSprite> FormDigits() const
    {
        std::vector<DrawnSprite> digits;
        for (const DrawnSprite& s : SpritesFrom(7)) {
            if (s.y != clock->y + 7) {
                digits.push_back(s);
            }
        }
        return digits;
    }
};

TEST_F(BossRuleTest, KillIsGradedAgainstTheTargetWithFiveSecondsOfGrace)
{
    struct Case {
        int clock;
        bool early;
        TimingGrade grade;
        int gauge;
        int multiplier;
    } cases[] = {
        {94, true, TimingGrade::Miss, 95, 1},
        {95, false, TimingGrade::Miss, 95, 1},
        {99, false, TimingGrade::Near, 99, 2},
        {100, false, TimingGrade::Exact, 100, 8},
        {101, false, TimingGrade::Near, 99, 2},
        {105, false, TimingGrade::Miss, 95, 1},
        // Hit in the frame before the clock turned to target + 6: still a timely end.
        {106, false, TimingGrade::Miss, 95, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "killed at clock " << c.clock);
        g_scoreTable->ResetForGame();
        for (int i = 0; i < 3; ++i) {
            g_scoreTable->AddGradedScore(0, TimingGrade::Exact);  // multiplier 4
        }
        ClearSoundRequests();
        StandingForm* form = StandingForm::Create(100, false);
        form->Damage(1);
        StepAt(c.clock);
        EXPECT_EQ(g_scoreTable->GetGauge(), c.gauge);
        EXPECT_EQ(g_scoreTable->GetMultiplier(), c.multiplier);
        auto labels = Labels();
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(labels[0]->grade, c.grade);
        if (c.early) {
            EXPECT_EQ(g_scoreTable->GetScore(), 500) << "a quarter of the value";
            EXPECT_TRUE(IsLive(form)) << "it lingers";
            EXPECT_EQ(form->type, TaskType::Inert);
            EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionSmall)), 1);
            EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionLarge)), 0);
            EXPECT_TRUE(LiveOfType(TaskType::FallingItem).empty());
            EXPECT_TRUE(NextForms(form).empty());
        } else {
            EXPECT_FALSE(IsLive(form));
            EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionLarge)), 1);
            EXPECT_EQ(LiveOfType(TaskType::FallingItem).size(), 10u);
            auto next = NextForms(form);
            ASSERT_EQ(next.size(), 1u);
            EXPECT_EQ(StandingForm::nextParam, 45);
        }
        g_taskList->KillAllLive();
        Step();
        clock = Clock::Create(PriorityScreen, 296, 120);
    }
}

TEST_F(BossRuleTest, EarlyKilledFormEndsLateWithoutASecondGaugeLoss)
{
    StandingForm* form = StandingForm::Create(100, false);
    form->Damage(1);
    StepAt(94);
    ASSERT_EQ(g_scoreTable->GetGauge(), 95);
    int score = g_scoreTable->GetScore();
    // An inert form shows no digits, cannot be killed again and waits for its late end.
    form->Damage(1);
    for (int second = 95; second <= 105; ++second) {
        ClearSoundRequests();
        StepAt(second);
        ASSERT_TRUE(IsLive(form)) << second;
        EXPECT_TRUE(FormDigits().empty()) << "no target second is drawn";
        EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionLarge)), 0);
    }
    StepAt(106);
    EXPECT_FALSE(IsLive(form));
    EXPECT_EQ(SoundRequested(static_cast<int>(SoundEffectId::ExplosionLarge)), 1);
    EXPECT_EQ(g_scoreTable->GetGauge(), 95);
    EXPECT_EQ(g_scoreTable->GetScore(), score);
    EXPECT_TRUE(LiveOfType(TaskType::FallingItem).empty());
    auto next = NextForms(form);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_FLOAT_EQ(next[0]->x, 200.0f) << "built at the old form's place";
    EXPECT_FLOAT_EQ(next[0]->y, 100.0f);
}

TEST_F(BossRuleTest, FormLeftAliveExplodesSixSecondsLate)
{
    g_scoreTable->AddGradedScore(0, TimingGrade::Exact);
    g_scoreTable->AddGradedScore(0, TimingGrade::Exact);
    StandingForm* form = StandingForm::Create(100, false);
    StepAt(105);
    ASSERT_TRUE(IsLive(form));
    // Digits at the form and again in the HUD.
    auto digits = FormDigits();
    EXPECT_EQ(digits.size(), 6u);
    EXPECT_TRUE(std::any_of(digits.begin(), digits.end(), [](const DrawnSprite& s) { return s.y == 462; }));
    StepAt(106);
    EXPECT_FALSE(IsLive(form));
    EXPECT_EQ(g_scoreTable->GetGauge(), 92);
    EXPECT_EQ(g_scoreTable->GetMultiplier(), 2) << "a late end keeps the multiplier";
    EXPECT_EQ(g_scoreTable->GetScore(), 0);
    ASSERT_EQ(Labels().size(), 1u);
    EXPECT_EQ(Labels()[0]->grade, TimingGrade::Miss);
    EXPECT_EQ(NextForms(form).size(), 1u);
}

TEST_F(BossRuleTest, LastFormEndsTheStageOnlyThroughALivePlayer)
{
    struct Case {
        const char* name;
        bool player;
        bool killed;
        int clock;
    } cases[] = {
        {"killed on time", true, true, 100},
        {"left alive", true, false, 106},
        {"killed on time without a player", false, true, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearCountingShip* ship = c.player ? ClearCountingShip::Create(300.0f, 400.0f) : nullptr;
        StandingForm* form = StandingForm::Create(100, true);
        if (c.killed) {
            form->Damage(1);
        }
        StepAt(c.clock);
        EXPECT_FALSE(IsLive(form));
        EXPECT_TRUE(NextForms(form).empty());
        EXPECT_EQ(Labels().size(), 1u);
        if (ship) {
            EXPECT_EQ(ship->clears, 1);
        }
        g_taskList->KillAllLive();
        Step();
        clock = Clock::Create(PriorityScreen, 296, 120);
    }
}

TEST_F(BossRuleTest, LastLevelZeroFormSendsTheShipIntoItsClearSequence)
{
    PlayerShip* ship = PlayerShip::Create(PriorityPlayer);
    ship->playerState = PlayerState::Normal;
    clock->seconds = 10;
    Task* form = BossL0Form3::Create(PriorityEnemy, 20, 256.0f, 56.0f);
    int target = static_cast<BossL0Form3*>(form)->targetSecond;
    static_cast<Enemy*>(form)->Damage(1);
    StepAt(target);
    EXPECT_FALSE(IsLive(form));
    EXPECT_EQ(ship->playerState, PlayerState::Cleared);
    ASSERT_EQ(Labels().size(), 1u);
    EXPECT_EQ(Labels()[0]->grade, TimingGrade::Exact);
}

TEST_F(BossRuleTest, FormFallingOutOfTheFieldEscapesWithoutHandOver)
{
    StandingForm* form = StandingForm::Create(100, false);
    form->y = 480.0f + 256.0f + 1.0f;
    StepAt(50);
    EXPECT_FALSE(IsLive(form));
    EXPECT_EQ(g_scoreTable->GetGauge(), 92);
    EXPECT_TRUE(NextForms(form).empty());
    ASSERT_EQ(Labels().size(), 1u);
    EXPECT_FLOAT_EQ(Labels()[0]->y, 464.0f);
}

TEST_F(BossRuleTest, CreatePicksTheLevelZeroChainOnLevelZeroAndUnknownLevels)
{
    for (int level : {0, 4, -1}) {
        SCOPED_TRACE(level);
        g_sceneManager->SetLevel(level);
        Task* form = Boss::Create(PriorityEnemy, 20);
        auto* first = dynamic_cast<BossL0Form1*>(form);
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(IsLive(first));
        EXPECT_EQ(first->priority, PriorityEnemy);
        EXPECT_FLOAT_EQ(first->x, 256.0f);
        EXPECT_FLOAT_EQ(first->y, -128.0f);
        EXPECT_EQ(first->type, TaskType::Enemy);
        g_taskList->Kill(form);
        Step();
    }
    g_sceneManager->SetLevel(0);
}

TEST_F(BossRuleTest, TargetSecondsSpreadByForm)
{
    struct Case {
        const char* form;
        int param;
        int low, high;  // both included, from clock 30
    } cases[] = {
        {"first", 20, 47, 52},
        {"second", 45, 70, 79},
        {"third", 30, 52, 67},
        {"first without a target", 0, 0, 0},
    };
    clock->seconds = 30;
    g_sceneManager->SetLevel(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        int low = 1000, high = -1000;
        for (int i = 0; i < 400; ++i) {
            Task* t = c.form[0] == 'f'   ? Boss::Create(PriorityEnemy, c.param)
                      : c.form[0] == 's' ? BossL0Form2::Create(PriorityEnemy, c.param, 256.0f, 0.0f)
                                         : BossL0Form3::Create(PriorityEnemy, c.param, 256.0f, 0.0f);
            int target = static_cast<Enemy*>(t)->targetSecond;
            low = std::min(low, target);
            high = std::max(high, target);
            g_taskList->Kill(t);
        }
        EXPECT_EQ(low, c.low);
        EXPECT_EQ(high, c.high);
        Step();
    }
}

TEST_F(BossRuleTest, ChainHandsOverFromFormToFormAtItsPlace)
{
    ClearCountingShip* ship = ClearCountingShip::Create(296.0f, 400.0f);
    g_sceneManager->SetLevel(0);
    // Without a target second the first form is due at once: it bursts when the clock reads 6.
    auto* first = static_cast<BossL0Form1*>(Boss::Create(PriorityEnemy, 0));
    EXPECT_EQ(first->targetSecond, 0);
    first->y = 40.0f;
    first->stateIndex = 1;  // the barrage, which holds the form still
    StepAt(5);
    ASSERT_TRUE(IsLive(first));
    EXPECT_TRUE(FormDigits().empty()) << "no digits without a target second";
    float hx = first->x, hy = first->y;
    StepAt(6);
    EXPECT_FALSE(IsLive(first));
    EXPECT_EQ(g_scoreTable->GetGauge(), 92);
    auto seconds = LiveOfClass<BossL0Form2>();
    ASSERT_EQ(seconds.size(), 1u);
    BossL0Form2* second = seconds[0];
    EXPECT_GE(second->targetSecond, 6 + 45 - 5);
    EXPECT_LE(second->targetSecond, 6 + 45 + 4);
    // Its first frame ran in the same pass: it has flown one step from the old place toward
    // (320, 120).
    int towardCentre = AngleDeg(static_cast<int>(hx + 64), static_cast<int>(hy + 64), 320, 120);
    EXPECT_EQ(second->direction, towardCentre);
    EXPECT_NEAR(second->x, hx + g_cosTable[towardCentre] * 80.0f * kFrameTime, 1e-3);
    EXPECT_NEAR(second->y, hy - g_sinTable[towardCentre] * 80.0f * kFrameTime, 1e-3);
    EXPECT_EQ(ship->clears, 0);

    second->Damage(1);
    StepAt(second->targetSecond);
    EXPECT_FALSE(IsLive(second));
    auto thirds = LiveOfClass<BossL0Form3>();
    ASSERT_EQ(thirds.size(), 1u);
    EXPECT_EQ(ship->clears, 0);

    thirds[0]->Damage(1);
    StepAt(thirds[0]->targetSecond + 1);
    EXPECT_FALSE(IsLive(thirds[0]));
    EXPECT_EQ(Labels().back()->grade, TimingGrade::Near);
    EXPECT_EQ(ship->clears, 1);
    EXPECT_TRUE(LiveOfClass<Boss>().empty());
}

}  // namespace
