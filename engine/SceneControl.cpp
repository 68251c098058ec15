#include "engine/SceneControl.h"

SceneControl* g_sceneControl = nullptr;
