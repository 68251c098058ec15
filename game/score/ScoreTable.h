#pragma once
// The running game's score, multiplier, item count and gauge, the high score of this run, and
// the ranking block kept sealed in the score file "sh.dat".
#include <array>
#include <cstdint>

#include "game/score/TimingGrade.h"

class ScoreTable {
public:
    static constexpr int kRankingBytes = 802;
    static constexpr int kSealedBytes = 816;  // GetPassLen(kRankingBytes)
    static constexpr int kTables = 4;
    static constexpr int kEntries = 10;
    static constexpr int kScoreCap = 999999990;

    ScoreTable();
    virtual ~ScoreTable();

    // Reads the rankings from the score file; a missing or invalid file gives the defaults.
    void Load();
    // Writes the rankings back, unless they were never loaded. The old file survives any
    // failure.
    void Save();
    void SetDefaults();
    void ResetForGame();

    void AddScore(int points);
    void AddGradedScore(int points, TimingGrade grade);
    void ReduceGauge(int n);
    void CountItem();

    // Digits from the number image: the score and high score as nine digits with leading zeros,
    // the multiplier as the times sign and one to three digits.
    void DrawScore(int x, int y) const;
    void DrawHighScore(int x, int y) const;
    void DrawMultiplier(int x, int y) const;

    int GetGauge() const { return gauge_; }
    int GetScore() const { return score_; }
    int GetItemCount() const { return itemCount_; }
    int GetMultiplier() const { return multiplier_; }
    int GetHighScore() const { return highScore_; }
    const std::array<std::uint8_t, kRankingBytes>& GetRankings() const { return rankings_; }

private:
    // Adds to the score with the cap, and raises the high score to it.
    void AddToScore(std::int64_t amount);

    std::array<std::uint8_t, kRankingBytes> rankings_{};
    int multiplier_ = 1;
    int itemCount_ = 0;
    int score_ = 0;
    int highScore_ = 0;
    int gauge_ = 100;
};

extern ScoreTable* g_scoreTable;
