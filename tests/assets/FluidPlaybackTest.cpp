// The music files as a real MIDI player reads them: FluidSynth's player must load each one,
// agree on its length in ticks and play it through to the end.
#ifdef HAVE_FLUIDSYNTH
#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "AssetReaders.h"
#include "MidiReader.h"

using namespace assets_test;

namespace {

class FluidPlayback : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, nullptr, nullptr);
    settings_ = new_fluid_settings();
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    synth_ = new_fluid_synth(settings_);
    player_ = new_fluid_player(synth_);
  }
  void TearDown() override {
    delete_fluid_player(player_);
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
  }
  void Render(int frames) {
    std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
    fluid_synth_write_float(synth_, frames, left.data(), 0, 1, right.data(), 0, 1);
  }

  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
};

TEST_P(FluidPlayback, LoadsAgreesOnLengthAndPlaysToTheEnd) {
  const std::string path = ProgramPath(GetParam());
  ASSERT_EQ(fluid_player_add(player_, path.c_str()), FLUID_OK);
  ASSERT_EQ(fluid_player_play(player_), FLUID_OK);
  Render(4096);
  ASSERT_EQ(fluid_player_get_status(player_), FLUID_PLAYER_PLAYING);
  const int total = fluid_player_get_total_ticks(player_);
  const Song song = ReadSong(path);
  ASSERT_EQ(song.error, "");
  EXPECT_EQ(uint64_t(total), song.endTick);
  // Jump to just before the end and let it finish.
  ASSERT_EQ(fluid_player_seek(player_, total > 10 ? total - 10 : 0), FLUID_OK);
  for (int i = 0; i < 200 && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING; ++i) Render(4096);
  EXPECT_EQ(fluid_player_get_status(player_), FLUID_PLAYER_DONE);
}

INSTANTIATE_TEST_SUITE_P(Files, FluidPlayback,
                         ::testing::Values("Music/no.32.mid", "Music/no.29.mid", "Music/no.34.mid", "Music/no.39.mid",
                                           "Music/no.58.mid", "Music/no.60.mid", "Music/no.44.mid"),
                         [](const auto& info) {
                           std::string name = info.param + 6;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
#endif
