// The three sky pictures: the loader takes them as 256x256 without opening them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "AssetReaders.h"

using namespace assets_test;

namespace {

// True when the frame header is SOF0 (baseline DCT) and no other SOF marker appears.
bool HasBaselineFrameMarker(const std::vector<uint8_t>& b) {
  bool sof0 = false;
  size_t i = 2;
  while (i + 4 <= b.size() && b[i] == 0xFF) {
    const uint8_t marker = b[i + 1];
    if (marker == 0xDA) break;  // start of scan: headers are over
    if (marker == 0xC0) sof0 = true;
    else if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) return false;
    i += 2 + (size_t(b[i + 2]) << 8 | b[i + 3]);
  }
  return sof0;
}

class SkyPictures : public ::testing::TestWithParam<const char*> {};

TEST_P(SkyPictures, AreBaseline256x256AndFreeOfTheBlackKey) {
  Picture pic;
  bool baseline = false;
  ASSERT_EQ(ReadJpeg(ProgramPath(GetParam()), pic, baseline), "");
  EXPECT_EQ(pic.width, 256);
  EXPECT_EQ(pic.height, 256);
  EXPECT_TRUE(baseline);
  EXPECT_TRUE(HasBaselineFrameMarker(ReadAll(ProgramPath(GetParam()))));
  int dark = 0;
  for (const Pixel& p : pic.pixels) dark += p.r < 8 && p.g < 8 && p.b < 8;
  EXPECT_EQ(dark, 0) << "pixels the black key would cut out after decoding";
}

INSTANTIATE_TEST_SUITE_P(Files, SkyPictures, ::testing::Values("img/back1.jpg", "img/back2.jpg", "img/back3.jpg"),
                         [](const auto& info) { return std::string(1, info.param[8]); });

TEST(SkyPictureLayout, BottomFadesIntoTheFogWhereTheGroundMeetsIt) {
  // In play the picture's rows 64..255 are shown at screen y 0..191; the fogged far edge of the
  // ground lies at screen y 135..170, so from row 199 down the picture is the fog colour.
  for (const char* file : {"img/back1.jpg", "img/back2.jpg"}) {
    Picture pic;
    bool baseline = false;
    ASSERT_EQ(ReadJpeg(ProgramPath(file), pic, baseline), "");
    for (int y = 199; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        const Pixel& p = pic.at(x, y);
        ASSERT_LE(std::abs(p.r - 224) + std::abs(p.g - 255) + std::abs(p.b - 255), 12) << file << " (" << x << "," << y << ")";
      }
  }
}

TEST(SkyPictureLayout, PlayFieldPiecesJoinWithoutAStep) {
  // back1 (128..255) sits directly left of back2 (0..255) on screen.
  Picture a, b;
  bool baseline = false;
  ASSERT_EQ(ReadJpeg(ProgramPath("img/back1.jpg"), a, baseline), "");
  ASSERT_EQ(ReadJpeg(ProgramPath("img/back2.jpg"), b, baseline), "");
  double diff = 0;
  for (int y = 64; y < 256; ++y) {
    const Pixel &l = a.at(255, y), &r = b.at(0, y);
    diff += std::abs(l.r - r.r) + std::abs(l.g - r.g) + std::abs(l.b - r.b);
  }
  EXPECT_LT(diff / 192, 12.0);
}

}  // namespace
