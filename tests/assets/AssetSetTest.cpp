// The whole set: every file the loader and the scenes ask for exists, and the generator
// writes the same bytes on every run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "AssetReaders.h"

using namespace assets_test;
namespace fs = std::filesystem;

namespace {

// Texture slots 0..32 (14 has no file), the mesh, the 17 effects, the 7 tracks and the four
// enemy maps.
const char* const kProgramFiles[] = {
    "img/player.bmp",    "img/back_w1.bmp",  "img/back_w2.bmp",  "img/back1.jpg",    "img/back2.jpg",
    "img/back3.jpg",     "img/object.bmp",   "img/number.bmp",   "img/title.bmp",    "img/startmenu.bmp",
    "img/diffmenu.bmp",  "img/explain.bmp",  "img/other.bmp",    "img/warning.bmp",  "img/enemy1.bmp",
    "img/enemy2.bmp",    "img/enemy3.bmp",   "img/boss1_1.bmp",  "img/boss1_2.bmp",  "img/shot.bmp",
    "img/bakuha1.bmp",   "img/f_white.bmp",  "img/f_black.bmp",  "img/clear_1.bmp",  "img/clear_2.bmp",
    "img/clear_b1.bmp",  "img/clear_b2.bmp", "img/clear_b3.bmp", "img/clear_b4.bmp", "img/diff_s1.bmp",
    "img/diff_s3.bmp",   "img/diff_s4.bmp",  "img/back.x",       "wav/animal00.wav", "wav/voice017.wav",
    "wav/bom25.wav",     "wav/pi59.wav",     "wav/cursor15_a.wav", "wav/power14.wav", "wav/cursor01.wav",
    "wav/chari08.wav",   "wav/saku05.wav",   "wav/burst00.wav",  "wav/gun24.wav",    "wav/swing32.wav",
    "wav/swing11.wav",   "wav/hit39.wav",    "wav/hit44.wav",    "wav/hit77.wav",    "wav/alarm01.wav",
    "Music/no.32.mid",   "Music/no.29.mid",  "Music/no.34.mid",  "Music/no.39.mid",  "Music/no.58.mid",
    "Music/no.60.mid",   "Music/no.44.mid",  "emap/emap1_0.bin", "emap/emap1_1.bin", "emap/emap1_2.bin",
    "emap/emap1_3.bin",
};

TEST(AssetSet, EveryFileTheProgramLoadsExists) {
  for (const char* file : kProgramFiles) {
    const fs::path path = ProgramPath(file);
    EXPECT_TRUE(fs::is_regular_file(path)) << file;
    if (fs::is_regular_file(path)) {
      EXPECT_GT(fs::file_size(path), 0u) << file;
    }
  }
}

TEST(AssetSet, GeneratorWritesTheSameBytesEveryRun) {
  const fs::path out = fs::path(::testing::TempDir()) / "assetgen_rerun";
  fs::remove_all(out);
  const std::string command = std::string("\"") + ASSETGEN + "\" \"" + out.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), out);
    EXPECT_EQ(ReadAll(entry.path().string()), ReadAll(ProgramPath(relative.string()))) << relative;
    ++compared;
  }
  EXPECT_GE(compared, int(std::size(kProgramFiles)));
  fs::remove_all(out);
}

}  // namespace
