#include "game/score/GradeLabel.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"

namespace {
constexpr int kBlinks = 30;
}  // namespace

GradeLabel::GradeLabel(float x, float y, TimingGrade grade) : x(x), y(y), grade(grade)
{
    type = TaskType::None;
}

GradeLabel* GradeLabel::Create(int priority, float x, float y, TimingGrade grade)
{
    return InsertNew<GradeLabel>(priority, x, y, grade);
}

void GradeLabel::Exec()
{
    if (timer > 0.0f) {
        timer -= 60.0f * g_frameTime;
        g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 12, 0, 16 * static_cast<int>(grade),
                                     40, 16);
    } else if (count < kBlinks) {
        timer = 1.0f;
        ++count;
    } else {
        g_taskList->Kill(this);
    }
}
