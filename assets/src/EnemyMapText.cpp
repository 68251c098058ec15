#include "EnemyMapText.h"

#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "FileWriters.h"
#include "StageMaps.h"

namespace {

constexpr int kColumns = 12;

[[noreturn]] void Fail(const std::string& name, int line, const std::string& what) {
  throw std::runtime_error("enemy map " + name + ", line " + std::to_string(line) + ": " + what);
}

// A whole number in [low, high], or "r" for 255 where allowed.
int Number(const std::string& text, int low, int high, bool randomAllowed, const std::string& name, int line) {
  if (randomAllowed && text == "r") return 255;
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 3) {
    Fail(name, line, "bad number '" + text + "'");
  }
  const int value = std::stoi(text);
  if (value < low || value > high) Fail(name, line, "number out of range '" + text + "'");
  return value;
}

void PutCell(std::vector<uint8_t>& out, int code, int param) {
  out.push_back(uint8_t(code));
  out.push_back(uint8_t(param));
}

void ParseCell(const std::string& token, std::vector<uint8_t>& out, const std::string& name, int line) {
  if (token == ".") return PutCell(out, 0, 0);
  if (token == "W") return PutCell(out, 0x40, 0);
  const auto colon = token.find(':');
  if (colon != 1) Fail(name, line, "bad cell '" + token + "'");
  const char head = token[0];
  const std::string value = token.substr(2);
  if (head >= '1' && head <= '5') return PutCell(out, head - '0', Number(value, 0, 254, true, name, line));
  if (head == 'B') return PutCell(out, 0x70, Number(value, 0, 254, false, name, line));
  if (head == 'M') return PutCell(out, 0x80, Number(value, 1, 7, false, name, line));
  Fail(name, line, "bad cell '" + token + "'");
}

}  // namespace

std::vector<uint8_t> ParseEnemyMap(const std::string& name, const std::string& text) {
  std::vector<uint8_t> bytes;
  std::istringstream lines(text);
  std::string raw;
  int line = 0;
  while (std::getline(lines, raw)) {
    ++line;
    const std::string content = raw.substr(0, raw.find('#'));
    std::istringstream words(content);
    std::vector<std::string> tokens;
    for (std::string w; words >> w;) tokens.push_back(w);
    if (tokens.empty()) continue;
    if (tokens[0] == "rest") {
      if (tokens.size() != 2) Fail(name, line, "rest takes one count");
      const int rows = Number(tokens[1], 1, 60, false, name, line);
      bytes.insert(bytes.end(), size_t(rows) * kColumns * 2, 0);
      continue;
    }
    if (tokens.size() != kColumns) Fail(name, line, "a row needs 12 cells, not " + std::to_string(tokens.size()));
    for (const std::string& token : tokens) ParseCell(token, bytes, name, line);
  }
  return bytes;
}

void WriteEnemyMaps(const std::string& root) {
  std::filesystem::create_directories(std::filesystem::path(root) / "emap");
  for (int level = 0; level < 4; ++level) {
    const std::string file = "emap/emap1_" + std::to_string(level) + ".bin";
    WriteBytes((std::filesystem::path(root) / file).string(), ParseEnemyMap(file, StageMapText(level)));
  }
}
