#include "game/screens/StageClearTally.h"

#include <algorithm>

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/effects/ExplosionDebris.h"
#include "game/scenes/Fade.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"

namespace {
constexpr int kBannerLeftWidth = 256;  // from slot 24; the rest from slot 25
constexpr int kBannerWidth = 340;
constexpr int kLines = 4;

void Draw(int x, int y, int slot, int srcX, int srcY, int w, int h)
{
    g_graphicsEngine->DrawSprite(x, y, slot, srcX, srcY, w, h);
}
}  // namespace

const StageClearTally::Handler StageClearTally::kHandlers[2] = {&StageClearTally::SlideIn, &StageClearTally::Lines};

StageClearTally::StageClearTally()
{
    type = TaskType::Screen;
}

StageClearTally* StageClearTally::Create(int priority)
{
    return InsertNew<StageClearTally>(priority);
}

StageClearTally::Rank StageClearTally::RankFor(int loss, int level)
{
    const Rank ranks[] = {{0, true}, {0, false}, {1, true}, {1, false}, {2, true}, {2, false}, {3, true}};
    const int bounds[] = {4 * level,      4 * level + 5,  5 * level + 10, 5 * level + 15,
                          5 * level + 30, 5 * level + 50, 5 * level + 70};
    for (int i = 0; i < 7; ++i) {
        if (loss <= bounds[i]) {
            return ranks[i];
        }
    }
    return {3, false};
}

void StageClearTally::Exec()
{
    keys.Read();
    DrawFrame();
    if (keys.z == KeyState::Pressed || keys.x == KeyState::Pressed || keys.c == KeyState::Pressed ||
        keys.v == KeyState::Pressed) {
        if (lineCount == kLines) {
            Fade::Create(PriorityFade, 16, SceneState::Title, FadeMode::OutToBlack);
        } else {
            NextLine();
        }
    }
    (this->*kHandlers[lineCount == 0 ? 0 : 1])();
}

void StageClearTally::NextLine()
{
    g_soundEffectBank->SetRequest(lineCount == kLines - 1 ? SoundEffectId::TallyRank : SoundEffectId::MenuSelect, 1);
    lineTimer = 60.0f;
    ++lineCount;
}

void StageClearTally::SlideIn()
{
    DrawHeader();
    if (slideX < static_cast<float>(kBannerWidth)) {
        slideX += g_frameTime * 340.0f;
        ExplosionDebris::Create(PriorityGradeLabel, 150.0f + slideX, 390.0f);
    } else {
        NextLine();
    }
    // The last step overshoots the banner's width: reveal no more than the banner.
    int revealed = static_cast<int>(std::min(slideX, static_cast<float>(kBannerWidth)));
    Draw(150, 340, 24, 0, 0, std::min(revealed, kBannerLeftWidth), 56);
    if (revealed > kBannerLeftWidth) {
        Draw(406, 340, 25, 0, 0, revealed - kBannerLeftWidth, 56);
    }
}

void StageClearTally::Lines()
{
    DrawHeader();
    Draw(150, 340, 24, 0, 0, kBannerLeftWidth, 56);
    Draw(406, 340, 25, 0, 0, kBannerWidth - kBannerLeftWidth, 56);

    Draw(180, 140, 24, 205, 136, 51, 40);
    Draw(231, 140, 25, 0, 136, 21, 40);
    DrawNumber(g_scoreTable->GetItemCount(), 140);
    int loss = 100 - g_scoreTable->GetGauge();
    if (lineCount >= 2) {
        Draw(180, 180, 25, 22, 136, 74, 40);
        DrawNumber(loss, 180);
    }
    if (lineCount >= 3) {
        Draw(180, 220, 24, 0, 180, 80, 40);
        DrawNumber(g_scoreTable->GetScore(), 220);
    }
    if (lineCount >= kLines) {
        Draw(180, 260, 24, 80, 180, 80, 40);
        Rank rank = RankFor(loss, g_sceneManager->GetLevel());
        if (rank.plus) {
            Draw(456, 260, 24, 34 * rank.cell, 96, 34, 40);
            Draw(490, 260, 24, 136, 96, 34, 40);
        } else {
            Draw(490, 260, 24, 34 * rank.cell, 96, 34, 40);
        }
    }
    if (lineCount < kLines) {
        // The frame that crosses 0 only counts down; the line follows on the next.
        if (lineTimer >= 0.0f) {
            lineTimer -= g_frameTime * 60.0f;
        } else {
            NextLine();
        }
    }
}

void StageClearTally::DrawHeader() const
{
    Draw(230, 50, 24, 0, 136, 80, 40);
    Draw(314, 52, 24, 24, 58, 24, 38);
    Draw(340, 50, 24, 80, 136, 82, 40);
}

void StageClearTally::DrawNumber(int value, int y) const
{
    // Every place the number has gets its own digit cell, so a gauge loss of 100 or more and
    // counts beyond six digits still show digits only.
    value = std::max(value, 0);
    int x = 500;
    do {
        Draw(x, y, 24, 24 * (value % 10), 58, 24, 38);
        value /= 10;
        x -= 24;
    } while (value != 0);
}

void StageClearTally::DrawFrame() const
{
    Draw(0, 0, 28, 0, 48, 100, 100);
    Draw(540, 0, 28, 140, 48, 100, 100);
    Draw(0, 380, 29, 0, 48, 100, 100);
    Draw(540, 380, 29, 140, 48, 100, 100);
    for (int i = 0; i < 11; ++i) {
        Draw(100 + 40 * i, 0, 28, 100, 48, 40, 100);
    }
    for (int i = 0; i < 11; ++i) {
        Draw(100 + 40 * i, 380, 29, 100, 48, 40, 100);
    }
    for (int i = 0; i < 7; ++i) {
        Draw(0, 100 + 40 * i, 28, 0, 148, 100, 40);
    }
    for (int i = 0; i < 7; ++i) {
        Draw(540, 100 + 40 * i, 28, 140, 148, 100, 40);
    }
    Draw(70, 88, 26, 0, 0, 256, 256);
    Draw(326, 88, 27, 0, 0, 244, 256);
    Draw(70, 344, 28, 0, 0, 256, 48);
    Draw(326, 344, 29, 0, 0, 244, 48);
}
