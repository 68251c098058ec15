#pragma once

// Explosions built from flashes, sparks and a ring; the row is the timing grade of the kill
// (the screens use 0). Each requests its own sound.
void ExplodeSmall(int priority, float cx, float cy, int row);
void ExplodeMedium(int priority, float cx, float cy, int row);
void ExplodeLarge(int priority, float cx, float cy, int row);
