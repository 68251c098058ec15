#pragma once
#include "engine/Task.h"

// The boss warning: two bands scrolling left with the message between them, shown at full
// strength for about four seconds and then faded out, with an alarm at its start.
class WarningBanner : public Task {
public:
    WarningBanner();
    void Exec() override;
    static WarningBanner* Create(int priority);

    float x = 128.0f;  // scroll position of the bands
    float y = 160.0f;  // top of the upper band
    float shown = 0.0f;  // ticks shown so far
    float alpha = 255.0f;

private:
    void DrawPiece(int px, int py, int srcX, int srcY, int w, int h) const;
};
