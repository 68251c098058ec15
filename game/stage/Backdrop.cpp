#include "game/stage/Backdrop.h"

#include <cstdio>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"

const Backdrop::Handler Backdrop::kHandlers[3] = {&Backdrop::Load, &Backdrop::Scroll, &Backdrop::WideScroll};

Backdrop::Backdrop(const char* meshFile, const char* folder, float scrollSpeed) : phase(0), scrollSpeed(scrollSpeed)
{
    std::snprintf(this->meshFile, sizeof(this->meshFile), "%s", meshFile ? meshFile : "");
    std::snprintf(this->folder, sizeof(this->folder), "%s", folder ? folder : "");
}

Backdrop* Backdrop::Create(int priority, const char* meshFile, const char* folder, float scrollSpeed)
{
    return InsertNew<Backdrop>(priority, meshFile, folder, scrollSpeed);
}

void Backdrop::Exec()
{
    (this->*kHandlers[phase])();
}

void Backdrop::Load()
{
    if (folder[0] != 0) {
        g_graphicsEngine->LoadMesh(0, meshFile, folder);
    }
    phase = 1;
}

void Backdrop::Scroll()
{
    g_graphicsEngine->DrawSprite(128, 0, 3, 128, 64, 128, 192);
    g_graphicsEngine->DrawSprite(256, 0, 4, 0, 64, 256, 192);
    ScrollMesh();
}

void Backdrop::WideScroll()
{
    g_graphicsEngine->DrawSprite(0, 0, 3, 0, 0, 256, 256);
    g_graphicsEngine->DrawSprite(256, 0, 4, 0, 0, 256, 256);
    g_graphicsEngine->DrawSprite(512, 0, 5, 0, 0, 128, 256);
    ScrollMesh();
}

void Backdrop::ScrollMesh()
{
    z -= g_frameTime * scrollSpeed;
    // Two copies of the 4-unit mesh join up, so the jump back to 0 is not seen.
    g_graphicsEngine->DrawMesh(x, y, z, rotX, rotY, rotZ, 0);
    g_graphicsEngine->DrawMesh(x, y, z + 4.0f, rotX, rotY, rotZ, 0);
    if (z < -4.0f) {
        z = 0.0f;
    }
}
