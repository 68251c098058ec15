#include "game/screens/ScreenKeys.h"

#include "engine/Input.h"

void ScreenKeys::Read()
{
    Input::ReadKeys(&left, &right, &up, &down, &z, &x, &c, &v, &r, &s);
}
