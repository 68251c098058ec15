#pragma once
#include <string>

// The text of the stage-1 enemy map of a difficulty level 0..3 (notation: EnemyMapText.h).
std::string StageMapText(int level);
