#include "game/scenes/TextureSlotMap.h"

#include "engine/GraphicsEngine.h"

const TextureSlotFile kSharedTextures[22] = {
    {0, "img/player.bmp", 0xFF80FF80u},    {1, "img/back_w1.bmp", 0xFF000000u},
    {2, "img/back_w2.bmp", 0xFF000000u},   {3, "img/back1.jpg", 0xFF000000u},
    {4, "img/back2.jpg", 0xFF000000u},     {5, "img/back3.jpg", 0xFF000000u},
    {6, "img/object.bmp", 0xFF000000u},    {7, "img/number.bmp", 0xFF32FA32u},
    {8, "img/title.bmp", 0xFFFFFFFFu},     {9, "img/startmenu.bmp", 0xFFFFFFFFu},
    {10, "img/diffmenu.bmp", 0xFFFFFFFFu}, {11, "img/explain.bmp", 0xFFFFFFFFu},
    {12, "img/other.bmp", 0xFFFFFFFFu},    {15, "img/enemy1.bmp", 0xFF80FF80u},
    {16, "img/enemy2.bmp", 0xFF80FF80u},   {17, "img/enemy3.bmp", 0xFF80FF80u},
    {18, "img/boss1_1.bmp", 0xFF80FF80u},  {19, "img/boss1_2.bmp", 0xFF80FF80u},
    {20, "img/shot.bmp", 0xFF32FF32u},     {21, "img/bakuha1.bmp", 0xFF000000u},
    {22, "img/f_white.bmp", 0xFF000000u},  {23, "img/f_black.bmp", 0xFFFFFFFFu},
};

const TextureSlotFile kStageTextures[1] = {{13, "img/warning.bmp", 0xFFFFFFFFu}};

const TextureSlotFile kStageClearTextures[6] = {
    {24, "img/clear_1.bmp", 0xFF32FA32u},  {25, "img/clear_2.bmp", 0xFF32FA32u},
    {26, "img/clear_b1.bmp", 0xFF000000u}, {27, "img/clear_b2.bmp", 0xFF000000u},
    {28, "img/clear_b3.bmp", 0xFF000000u}, {29, "img/clear_b4.bmp", 0xFF000000u},
};

const TextureSlotFile kDifficultyTextures[3] = {
    {30, "img/diff_s1.bmp", 0xFFFFFFFFu},
    {31, "img/diff_s3.bmp", 0xFFFFFFFFu},
    {32, "img/diff_s4.bmp", 0xFFFFFFFFu},
};

const char* LoadTextureGroup(const TextureSlotFile* group, int count, int restarts)
{
    int tries = 0;
    for (;;) {
        const char* failed = nullptr;
        try {
            for (int i = 0; i < count; ++i) {
                if (!g_graphicsEngine->LoadTexture(group[i].slot, group[i].file, group[i].colourKey)) {
                    throw group[i].file;
                }
            }
        } catch (const char* file) {
            failed = file;
        }
        if (!failed) {
            return nullptr;
        }
        if (tries >= restarts) {
            return failed;
        }
        ++tries;
    }
}
