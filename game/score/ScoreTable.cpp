#include "game/score/ScoreTable.h"

#include "engine/GraphicsEngine.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game/score/ScoreEntry.h"
#include "platform/win32/FileReplacement.h"
#include "platform/win32/Win32File.h"
#include "platform/win32/Win32Kernel.h"
#include "sealer/WEN_Secret.h"

ScoreTable* g_scoreTable = nullptr;

namespace {

constexpr int kEntryOffset = 2;
constexpr int kTableBytes = 200;

// "<current folder>/sh.dat", or nothing when the folder's name does not fit the buffer.
bool ScoreFilePath(std::string& path)
{
    char folder[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH) {
        return false;
    }
    char buffer[MAX_PATH + 16];
    std::snprintf(buffer, sizeof(buffer), "%s/sh.dat", folder);
    path = buffer;
    return true;
}

// The whole file when it has exactly the sealed size; nothing otherwise.
bool ReadSealedFile(const std::string& path, std::vector<std::uint8_t>& sealed)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    // The size is checked before anything is read, so no file can make us read more.
    bool ok = GetFileSize(file, nullptr) == static_cast<DWORD>(ScoreTable::kSealedBytes);
    if (ok) {
        sealed.assign(ScoreTable::kSealedBytes, 0);
        DWORD read = 0;
        ok = ReadFile(file, sealed.data(), ScoreTable::kSealedBytes, &read, nullptr) &&
             read == static_cast<DWORD>(ScoreTable::kSealedBytes);
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

ScoreTable::ScoreTable() = default;

ScoreTable::~ScoreTable() = default;

void ScoreTable::Load()
{
    std::string path;
    std::vector<std::uint8_t> sealed;
    if (!ScoreFilePath(path) || !ReadSealedFile(path, sealed)) {
        SetDefaults();
        return;
    }
    // The library unseals in place and needs as much room as the sealed block has.
    std::vector<std::uint8_t> scratch(kSealedBytes, 0);
    int length = 0;
    bool valid = GetSecret(scratch.data(), &length, sealed.data(), kSealedBytes, 0) == 0 &&
                 length == kRankingBytes && (scratch[0] != 0 || scratch[1] != 0);
    if (!valid) {
        SetDefaults();
        return;
    }
    std::copy_n(scratch.begin(), kRankingBytes, rankings_.begin());
}

void ScoreTable::Save()
{
    // Both flags 0: the rankings were never loaded, and an early quit leaves the file alone.
    if (rankings_[0] == 0 && rankings_[1] == 0) {
        return;
    }
    std::string path;
    if (!ScoreFilePath(path)) {
        return;
    }
    std::vector<std::uint8_t> sealed(static_cast<std::size_t>(GetPassLen(kRankingBytes)));
    if (SetSecret(rankings_.data(), kRankingBytes, sealed.data(), 0) != 0) {
        return;
    }
    // Written beside the old file and renamed over it: a failure at any point leaves a whole file.
    ReplaceRegularFile(Win32HostPath(path.c_str()), sealed.data(), sealed.size());
}

void ScoreTable::SetDefaults()
{
    rankings_[0] = 1;
    rankings_[1] = 0;
    for (int t = 0; t < kTables; ++t) {
        for (int i = 0; i < kEntries; ++i) {
            std::uint8_t* at = rankings_.data() + kEntryOffset + kTableBytes * t + sizeof(ScoreEntry) * i;
            ScoreEntry entry;
            std::memcpy(&entry, at, sizeof(entry));
            // Only "shN" and its NUL: the rest of the name keeps what was there.
            char name[4];
            std::snprintf(name, sizeof(name), "sh%d", i);
            std::memcpy(entry.name, name, sizeof(name));
            entry.score = static_cast<std::uint32_t>((10 - i) * 1000 * (t + 1));
            entry.count = static_cast<std::uint32_t>((10 - i) * (t + 1));
            entry.reserved[0] = 0;
            entry.reserved[1] = 0;
            std::memcpy(at, &entry, sizeof(entry));
        }
    }
}

void ScoreTable::ResetForGame()
{
    multiplier_ = 0;
    itemCount_ = 0;
    score_ = 0;
    gauge_ = 100;
}

void ScoreTable::AddScore(int points)
{
    AddToScore(static_cast<std::int64_t>(points) * multiplier_);
}

void ScoreTable::AddGradedScore(int points, TimingGrade grade)
{
    switch (grade) {
    case TimingGrade::Exact:
        multiplier_ *= 2;
        break;
    case TimingGrade::Near:
        points /= 2;
        multiplier_ >>= 1;
        ReduceGauge(1);
        break;
    default:
        points /= 4;
        multiplier_ = 1;
        ReduceGauge(5);
        break;
    }
    multiplier_ = std::clamp(multiplier_, 1, 256);
    AddToScore(static_cast<std::int64_t>(points) * multiplier_);
}

void ScoreTable::AddToScore(std::int64_t amount)
{
    // Wide arithmetic: the sum is capped, never wrapped.
    std::int64_t sum = std::clamp<std::int64_t>(score_ + amount, INT_MIN, kScoreCap);
    score_ = static_cast<int>(sum);
    if (highScore_ <= score_) {
        highScore_ = score_;
    }
}

void ScoreTable::ReduceGauge(int n)
{
    gauge_ -= n;
}

void ScoreTable::CountItem()
{
    ++itemCount_;
}

namespace {

constexpr int kNumberSlot = 7;

void DrawDigit(int x, int y, int digit)
{
    g_graphicsEngine->DrawSprite(x, y, kNumberSlot, 12 * digit, 0, 12, 18);
}

void DrawNineDigits(int x, int y, int value)
{
    int divisor = 100000000;
    for (int k = 0; k < 9; ++k) {
        DrawDigit(x + 12 * k, y, (value / divisor) % 10);
        divisor /= 10;
    }
}

}  // namespace

void ScoreTable::DrawScore(int x, int y) const
{
    DrawNineDigits(x, y, score_);
}

void ScoreTable::DrawHighScore(int x, int y) const
{
    DrawNineDigits(x, y, highScore_);
}

void ScoreTable::DrawMultiplier(int x, int y) const
{
    g_graphicsEngine->DrawSprite(x, y, kNumberSlot, 120, 0, 12, 18);
    int digits = multiplier_ >= 100 ? 3 : (multiplier_ >= 10 ? 2 : 1);
    int divisor = digits == 3 ? 100 : (digits == 2 ? 10 : 1);
    for (int k = 0; k < digits; ++k) {
        DrawDigit(x + 12 * (k + 1), y, (multiplier_ / divisor) % 10);
        divisor /= 10;
    }
}
