#include "engine/GameObject.h"

#include "engine/TaskList.h"

void GameObject::GetRect(Rect* out) const
{
    *out = {x, y, w, h};
}

void GameObject::GetCenter(Point* out) const
{
    out->x = static_cast<int>(static_cast<float>(w / 2) + x);
    out->y = static_cast<int>(static_cast<float>(h / 2) + y);
}

bool GameObject::FindPlayerCenter(Point* out)
{
    auto* player = static_cast<GameObject*>(TaskList::FindPlayer());
    if (!player) {
        return false;
    }
    player->GetCenter(out);
    return true;
}
