#include "game/score/PointItem.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/score/ScoreTable.h"

PointItem::PointItem(float cx, float cy)
{
    // The three draws in this order: x, then y, then the sideways drift.
    x = cx - 12.0f + RandomRange(-5, 5);
    y = cy - 12.0f + RandomRange(-5, 5);
    vx = static_cast<float>(RandomRange(-20, 20));
    type = TaskType::FallingItem;
}

PointItem* PointItem::Create(int priority, float cx, float cy)
{
    return InsertNew<PointItem>(priority, cx, cy);
}

void PointItem::GetRect(Rect* out) const
{
    *out = {x, y, w, h};
}

void PointItem::GetCenter(Point* out) const
{
    *out = {static_cast<int>(x + w / 2), static_cast<int>(y + h / 2)};
}

void PointItem::Attract(PointItem* item)
{
    item->type = TaskType::HomingItem;
}

void PointItem::Exec()
{
    auto* player = static_cast<GameObject*>(TaskList::FindPlayer());
    if (!player) {
        return;
    }
    if (type == TaskType::FallingItem) {
        x += vx * g_frameTime;
        y -= vy * g_frameTime;
        vy -= gravity * g_frameTime;
    } else {
        Point from, to;
        GetCenter(&from);
        player->GetCenter(&to);
        angle = AngleDeg(from.x, from.y, to.x, to.y);
        MoveAlong(&x, &y, angle, 400.0f);
    }
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 6, 32, 24, 24, 24);

    Rect mine, ship;
    GetRect(&mine);
    player->GetRect(&ship);
    if (RectsOverlap(mine, ship)) {
        g_soundEffectBank->SetRequest(SoundEffectId::ItemCollect, 1);
        g_scoreTable->AddScore(100);
        g_scoreTable->CountItem();
        g_taskList->Kill(this);
        return;
    }
    if (IsOffField(x, y, w, h)) {
        g_taskList->Kill(this);
    }
}
