// The flight of the chained forms to their station near the top centre: from wherever the
// previous form ended, every form reaches the station's window and starts its attack there.
#include <cmath>
#include <ostream>
#include <string>

#include "engine/TaskList.h"
#include "game/bosses/Boss.h"
#include "game/bosses/BossL0Form2.h"
#include "game/bosses/BossL0Form3.h"
#include "game/bosses/BossL2Form2.h"
#include "game/bosses/BossL2Form3.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"
#include "tests/game/bosses/BossFixture.h"

namespace {

using FormFactory = Task* (*)(int priority, int param, float x, float y);

struct StationForm {
    const char* name;
    FormFactory create;
};

void PrintTo(const StationForm& form, std::ostream* os)
{
    *os << form.name;
}

constexpr float kStationX = 320.0f;
constexpr float kStationY = 120.0f;
constexpr int kHeldSecond = 10;
constexpr int kParam = 100;  // due long after every flight
constexpr int kFlightFrames = 2000;

struct Vec {
    float x, y;
};

float Dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}

float Cross(Vec a, Vec b)
{
    return a.x * b.y - a.y * b.x;
}

bool InWindow(float cx, float cy)
{
    return std::fabs(cx - kStationX) < 3.0f && std::fabs(cy - kStationY) < 3.0f;
}

class StationApproachTest : public BossFixture, public testing::WithParamInterface<StationForm> {};

// Every top-left a form can be handed over at without having escaped already, on a 32 px grid.
// A form whose straight flight comes close to the station keeps that flight; the others used to
// pass beside the window and fly out of the field.
TEST_P(StationApproachTest, ReachesTheStationFromEveryStart)
{
    int flown = 0, settled = 0;
    for (int sy = -256; sy <= 736; sy += 32) {
        for (int sx = -128; sx <= 768; sx += 32) {
            SCOPED_TRACE(testing::Message() << "start " << sx << ", " << sy);
            auto* form = static_cast<Enemy*>(GetParam().create(PriorityEnemy, kParam, float(sx), float(sy)));
            Vec start{sx + 64.0f, sy + 64.0f};
            Vec heading{g_cosTable[form->direction], -g_sinTable[form->direction]};
            Vec toStation{kStationX - start.x, kStationY - start.y};
            // The nearest the straight flight comes to the station.
            float along = std::max(0.0f, Dot(toStation, heading));
            float nearest = std::hypot(toStation.x - along * heading.x, toStation.y - along * heading.y);

            int frames = 0;
            while (frames < kFlightFrames && IsLive(form) && form->stateIndex == 0) {
                StepAt(kHeldSecond);
                ++frames;
            }
            ASSERT_TRUE(IsLive(form)) << "escaped after " << frames << " frames";
            ASSERT_EQ(form->stateIndex, 1) << "still flying after " << frames << " frames";
            float cx = form->x + 64, cy = form->y + 64;
            EXPECT_TRUE(InWindow(cx, cy)) << cx << ", " << cy;
            float offLine = std::fabs(Cross(Vec{cx - start.x, cy - start.y}, heading));
            if (offLine < 0.5f) {
                flown += 1;
            } else {
                // Set on the station, which only a flight that passes well clear of it needs.
                settled += 1;
                EXPECT_GT(nearest, 2.5f);
                EXPECT_EQ(cx, kStationX);
                EXPECT_EQ(cy, kStationY);
            }
            g_taskList->Kill(form);
            StepAt(kHeldSecond);
        }
    }
    EXPECT_GT(flown, 0);
    EXPECT_GT(settled, 0);
}

INSTANTIATE_TEST_SUITE_P(ChainedForms, StationApproachTest,
                         testing::Values(StationForm{"L0Form2", &BossL0Form2::Create},
                                         StationForm{"L0Form3", &BossL0Form3::Create},
                                         StationForm{"L2Form2", &BossL2Form2::Create},
                                         StationForm{"L2Form3", &BossL2Form3::Create}),
                         [](const testing::TestParamInfo<StationForm>& info) { return info.param.name; });

class StationChainTest : public BossFixture, public testing::WithParamInterface<int> {};

// A boss cell without a target second: the first form bursts in its first frame, just below its
// start above the top centre, and the second form flies almost straight down from there.
TEST_P(StationChainTest, SecondFormFromAnUntimedBossCellTakesItsStation)
{
    g_sceneManager->SetLevel(GetParam());
    Task* first = Boss::Create(PriorityEnemy, 0);
    ASSERT_NE(first, nullptr);
    StepAt(40);
    ASSERT_FALSE(IsLive(first));
    auto live = LiveOfType(TaskType::Enemy);
    ASSERT_EQ(live.size(), 1u);
    auto* second = static_cast<Enemy*>(live[0]);
    int frames = 0;
    while (frames < kFlightFrames && IsLive(second) && second->stateIndex == 0) {
        StepAt(40);
        ++frames;
    }
    ASSERT_TRUE(IsLive(second)) << "escaped after " << frames << " frames";
    EXPECT_EQ(second->stateIndex, 1);
    EXPECT_TRUE(InWindow(second->x + 64, second->y + 64));
    EXPECT_EQ(g_scoreTable->GetGauge(), 92) << "only the first form's late burst costs gauge";
}

INSTANTIATE_TEST_SUITE_P(Levels, StationChainTest, testing::Values(0, 2),
                         [](const testing::TestParamInfo<int>& info) { return "Level" + std::to_string(info.param); });

}  // namespace
