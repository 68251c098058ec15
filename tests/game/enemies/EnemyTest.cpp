// The enemy base: target seconds, the timing grade of a kill, escapes, and the drawn target second.
#include "engine/TaskList.h"
#include "game/stage/Clock.h"
#include "game/enemies/Enemy.h"
#include "game/score/GradeLabel.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "platform/win32/CRuntime.h"
#include "tests/game/CombatFixture.h"

namespace {

// The smallest concrete enemy: one state that stands still, then the common end of the frame.
class StandingEnemy : public Enemy {
public:
    StandingEnemy(float x, float y, int target)
    {
        this->x = x;
        this->y = y;
        w = h = 48;
        hitHalfSize[0] = hitHalfSize[1] = 20;
        hp = 1;
        scoreValue = 400;
        targetSecond = target;
        type = TaskType::Enemy;
    }
    void Exec() override
    {
        (this->*kHandlers[stateIndex])();
        FinishFrame();
    }
    static StandingEnemy* Create(float x, float y, int target)
    {
        return static_cast<StandingEnemy*>(g_taskList->Insert(new StandingEnemy(x, y, target), PriorityEnemy));
    }

private:
    using Handler = void (StandingEnemy::*)();
    void Stand() {}
    static constexpr Handler kHandlers[1] = {&StandingEnemy::Stand};
};

class EnemyTest : public CombatFixture {
protected:
    void SetUp() override
    {
        CombatFixture::SetUp();
        g_scoreTable->ResetForGame();
    }
    // A clock that stands at the second during the next frame.
    static Clock* ClockAt(int seconds)
    {
        Clock* clock = Clock::Create(PriorityScreen, 296, 120);
        clock->seconds = seconds;
        return clock;
    }
};

TEST_F(EnemyTest, KillIsGradedByDistanceFromTheTargetSecond)
{
    struct Case {
        int target;
        int clock;
        TimingGrade grade;
        int gaugeCost;
        int score;  // 400 points from a multiplier of 4
        int multiplier;
    } cases[] = {
        {7, 7, TimingGrade::Exact, 0, 400 * 8, 8},
        {7, 6, TimingGrade::Near, 1, 200 * 2, 2},
        {7, 8, TimingGrade::Near, 1, 200 * 2, 2},
        {7, 5, TimingGrade::Miss, 5, 100, 1},
        {7, 9, TimingGrade::Miss, 5, 100, 1},
        {0, 4, TimingGrade::Miss, 5, 100, 1},  // no target second: graded against 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "target " << c.target << " clock " << c.clock);
        g_scoreTable->ResetForGame();
        for (int i = 0; i < 3; ++i) {
            g_scoreTable->AddGradedScore(0, TimingGrade::Exact);  // multiplier 1, 2, 4
        }
        Clock* clock = ClockAt(c.clock);
        StandingEnemy* enemy = StandingEnemy::Create(200.0f, 100.0f, c.target);
        enemy->Damage(1);
        RunTasks();
        EXPECT_FALSE(IsLive(enemy));
        EXPECT_EQ(g_scoreTable->GetScore(), c.score);
        EXPECT_EQ(g_scoreTable->GetMultiplier(), c.multiplier);
        EXPECT_EQ(g_scoreTable->GetGauge(), 100 - c.gaugeCost);
        EXPECT_EQ(LiveOfType(TaskType::FallingItem).size(), 2u);
        EXPECT_EQ(SoundRequested(8), 1) << "the small explosion";
        // The explosion's flash and sparks are drawn from the grade's row of slot 21.
        auto pieces = SpritesFrom(21);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(pieces[0].srcY, 32 * static_cast<int>(c.grade));
        EXPECT_EQ(Enemy::GradeFor(c.target, c.clock), c.grade);
        auto labels = LiveOfClass<GradeLabel>();
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(labels[0]->grade, c.grade);
        EXPECT_FLOAT_EQ(labels[0]->x, 208.0f) << "centred on the enemy";
        EXPECT_FLOAT_EQ(labels[0]->y, 116.0f);
        (void)clock;
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(EnemyTest, HitPointsFarBelowZeroAreOneDestruction)
{
    ClockAt(5);
    StandingEnemy* enemy = StandingEnemy::Create(200.0f, 100.0f, 5);
    enemy->Damage(1);
    enemy->Damage(1);
    enemy->Damage(1);
    RunTasks();
    EXPECT_EQ(g_scoreTable->GetScore(), 400) << "an exact kill from a fresh game";
    EXPECT_EQ(LiveOfType(TaskType::FallingItem).size(), 2u);
    RunTasks();
    EXPECT_EQ(g_scoreTable->GetScore(), 400);
}

TEST_F(EnemyTest, EscapeBeyondTwiceItsSizeCostsGaugeOnly)
{
    struct Case {
        float x, y;
        bool escapes;
        float labelX, labelY;
    } cases[] = {
        {31.0f, 100.0f, true, 128.0f, 116.0f},
        {32.0f, 100.0f, false, 0, 0},
        {609.0f, 100.0f, true, 480.0f, 116.0f},
        {608.0f, 100.0f, false, 0, 0},
        {300.0f, 577.0f, true, 308.0f, 464.0f},
        {300.0f, 576.0f, false, 0, 0},
        {300.0f, -97.0f, true, 308.0f, 0.0f},
        {20.0f, 600.0f, true, 128.0f, 464.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        g_scoreTable->ResetForGame();
        g_scoreTable->AddGradedScore(0, TimingGrade::Exact);
        g_scoreTable->AddGradedScore(0, TimingGrade::Exact);  // multiplier 2
        StandingEnemy* enemy = StandingEnemy::Create(c.x, c.y, 9);
        RunTasks();
        auto labels = LiveOfClass<GradeLabel>();
        ASSERT_EQ(labels.size(), c.escapes ? 1u : 0u);
        if (c.escapes) {
            EXPECT_EQ(labels[0]->grade, TimingGrade::Miss);
            EXPECT_FLOAT_EQ(labels[0]->x, c.labelX);
            EXPECT_FLOAT_EQ(labels[0]->y, c.labelY);
        }
        EXPECT_EQ(IsLive(enemy), !c.escapes);
        EXPECT_EQ(g_scoreTable->GetGauge(), c.escapes ? 92 : 100);
        EXPECT_EQ(g_scoreTable->GetMultiplier(), 2) << "an escape leaves the multiplier";
        EXPECT_EQ(g_scoreTable->GetScore(), 0);
        g_taskList->KillAllLive();
        RunTasks();
    }
}

TEST_F(EnemyTest, LabelIsCentredOnALiveEnemy)
{
    StandingEnemy* enemy = StandingEnemy::Create(200.0f, 100.0f, 9);
    float lx, ly;
    enemy->GetLabelPosition(&lx, &ly);
    EXPECT_FLOAT_EQ(lx, 208.0f);
    EXPECT_FLOAT_EQ(ly, 116.0f);
}

TEST_F(EnemyTest, TargetSecondFromTheCreationParameter)
{
    ClockAt(10);
    RunTasks();  // the clock is found by its readers once it is linked
    EXPECT_EQ(Enemy::TargetSecondFor(0), 0);
    EXPECT_EQ(Enemy::TargetSecondFor(0, true, 2, 5), 0);
    EXPECT_EQ(Enemy::TargetSecondFor(5), 15);
    EXPECT_EQ(Enemy::TargetSecondFor(255), 265) << "255 is only random on the classes that ask";
    crt::srand(17);
    bool seen[3] = {};
    for (int i = 0; i < 60; ++i) {
        int t = Enemy::TargetSecondFor(255, true, 2, 5);
        ASSERT_GE(t, 12);
        ASSERT_LE(t, 14);
        seen[t - 12] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

TEST_F(EnemyTest, HitRectAndCentre)
{
    StandingEnemy* enemy = StandingEnemy::Create(200.5f, 100.5f, 0);
    Rect r;
    enemy->GetHitRect(&r);
    EXPECT_FLOAT_EQ(r.x, 204.5f);
    EXPECT_FLOAT_EQ(r.y, 104.5f);
    EXPECT_EQ(r.w, 40);
    EXPECT_EQ(r.h, 40);
    Point c;
    enemy->GetCenter(&c);
    EXPECT_EQ(c.x, 224);
    EXPECT_EQ(c.y, 124);
}

TEST_F(EnemyTest, TargetSecondDigitsEndAtTheBottomRight)
{
    struct Case {
        int target;
        std::vector<int> xs;  // of the digits at the enemy, most significant first
        std::vector<int> cells;
    } cases[] = {
        {0, {}, {}},
        {7, {236}, {7}},
        {42, {224, 236}, {4, 2}},
        {120, {212, 224, 236}, {1, 2, 0}},
        // A target past the clock's three places (a late clock plus a large parameter) gets a
        // fourth digit from the strip.
        {1000, {200, 212, 224, 236}, {1, 0, 0, 0}},
        {1262, {200, 212, 224, 236}, {1, 2, 6, 2}},
        {-3, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        StandingEnemy enemy(200.0f, 100.0f, c.target);
        RunTasks();  // clears the recording
        enemy.DrawTargetSecond(true);
        auto digits = SpritesFrom(7);
        ASSERT_EQ(digits.size(), 2 * c.xs.size());
        for (std::size_t i = 0; i < c.xs.size(); ++i) {
            const DrawnSprite& atEnemy = digits[2 * i];
            const DrawnSprite& inHud = digits[2 * i + 1];
            EXPECT_EQ(atEnemy.x, c.xs[i]);
            EXPECT_EQ(atEnemy.y, 130);
            EXPECT_EQ(atEnemy.srcX, 12 * c.cells[i]);
            EXPECT_EQ(inHud.x, 312 - 12 * static_cast<int>(c.xs.size() - 1 - i));
            EXPECT_EQ(inHud.y, 462);
        }
    }
}

TEST_F(EnemyTest, BracketOnlyOnTheEasiestLevelAtTheExactSecond)
{
    struct Case {
        int level;
        int clock;
        bool bracket;
    } cases[] = {
        {0, 12, true},
        {0, 13, false},
        {0, 11, false},
        {2, 12, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " clock " << c.clock);
        g_sceneManager->SetLevel(c.level);
        Clock* clock = ClockAt(c.clock);
        StandingEnemy enemy(200.0f, 100.0f, 12);
        // The clock's own icon is slot 6 too: count what the frame drew before the bracket.
        RunTasks();
        auto before = SpritesFrom(6).size();
        enemy.DrawTargetSecond(false);
        auto after = SpritesFrom(6);
        ASSERT_EQ(after.size() - before, c.bracket ? 5u : 0u);
        if (c.bracket) {
            const DrawnSprite& dot = after.back();
            EXPECT_EQ(dot.x, 224);
            EXPECT_EQ(dot.y, 124);
            EXPECT_EQ(dot.w, 7);
            EXPECT_EQ(after[before].x, 200);
            EXPECT_EQ(after[before + 3].x, 236);
            EXPECT_EQ(after[before + 3].y, 136);
        }
        g_taskList->Kill(clock);
        RunTasks();
    }
}

}  // namespace
