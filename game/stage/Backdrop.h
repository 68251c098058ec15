#pragma once
#include "engine/Task.h"

// The sky picture over the top of the field and the ground mesh scrolling toward the viewer.
class Backdrop : public Task {
public:
    Backdrop(const char* meshFile, const char* folder, float scrollSpeed);
    void Exec() override;
    static Backdrop* Create(int priority, const char* meshFile, const char* folder, float scrollSpeed);

    float GetScroll() const { return z; }

private:
    using Handler = void (Backdrop::*)();
    static const Handler kHandlers[3];

    void Load();
    void Scroll();
    void WideScroll();
    void ScrollMesh();

    int phase;
    char meshFile[260];
    char folder[260];
    float scrollSpeed;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float rotX = 0.0f, rotY = 0.0f, rotZ = 0.0f;
};
