// Texture slots: image sizes by extension, failures, replacement, colour key, stretch and mips.
#include <unistd.h>

#include <cstdio>

#include "platform/d3d9/Texture.h"
#include "tests/engine/graphics/GraphicsFixture.h"
#include "tests/engine/graphics/TestImages.h"

namespace {

class TextureLoadTest : public GraphicsFixture {
protected:
    void SetUp() override
    {
        GraphicsFixture::SetUp();
        ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
    }

    static const Image& Level(const TextureSlot& slot, unsigned level)
    {
        return static_cast<Texture*>(slot.texture)->Levels().at(level);
    }
};

TEST_F(TextureLoadTest, ImageSizeComesFromTheHeaderOrIsTakenAs256)
{
    ASSERT_TRUE(WriteBmp(Path("wide.bmp"), TestImage::Filled(300, 200, 0xFF00FF00u)));
    ASSERT_TRUE(WriteBmp(Path("UPPER.BMP"), TestImage::Filled(20, 10, 0xFF00FF00u)));
    ASSERT_TRUE(WritePng(Path("tile.png"), TestImage::Filled(64, 32, 0xFF0000FFu)));
    ASSERT_TRUE(WriteDds(Path("plain.dds"), TestImage::Filled(16, 8, 0xFFFF0000u)));
    ASSERT_TRUE(WriteDxt1(Path("packed.dds"), 12, 20, 0xF800));
    ASSERT_TRUE(WriteJpeg(Path("photo.jpg"), TestImage::Filled(100, 50, 0xFF808080u)));
    ASSERT_TRUE(WriteJpeg(Path("photo.jpeg"), TestImage::Filled(40, 30, 0xFF808080u)));
    struct Case {
        const char* file;
        unsigned imageWidth, imageHeight, textureWidth, textureHeight;
    } cases[] = {
        {"wide.bmp", 300, 200, 512, 256}, {"UPPER.BMP", 20, 10, 32, 16},    {"tile.png", 64, 32, 64, 32},
        {"plain.dds", 16, 8, 16, 8},      {"packed.dds", 12, 20, 16, 32},   {"photo.jpg", 256, 256, 128, 64},
        {"photo.jpeg", 256, 256, 64, 32},
    };
    int slot = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(engine->LoadTexture(slot, c.file, 0));
        const TextureSlot& s = engine->GetTextureSlot(slot);
        EXPECT_EQ(s.imageWidth, c.imageWidth);
        EXPECT_EQ(s.imageHeight, c.imageHeight);
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(s.texture->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, c.textureWidth);
        EXPECT_EQ(desc.Height, c.textureHeight);
        EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
        EXPECT_STREQ(s.fileName, c.file);
        EXPECT_EQ(s.assigned, 1);
        ++slot;
    }
}

TEST_F(TextureLoadTest, MissingOrBrokenFilesLeaveTheSlotEmptyButAssigned)
{
    ASSERT_TRUE(WriteBmp(Path("short.bmp"), TestImage::Filled(1, 1, 0)));
    {
        std::FILE* f = std::fopen(Path("short.bmp").c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(ftruncate(fileno(f), 20), 0);  // cut inside the size fields
        std::fclose(f);
    }
    std::FILE* junk = std::fopen(Path("junk.jpg").c_str(), "wb");
    std::fputs("not an image", junk);
    std::fclose(junk);
    for (const char* file : {"warning.bmp", "gone.png", "gone.dds", "gone.jpg", "short.bmp", "junk.jpg"}) {
        SCOPED_TRACE(file);
        EXPECT_FALSE(engine->LoadTexture(5, file, 0xFF000000u));
        const TextureSlot& s = engine->GetTextureSlot(5);
        EXPECT_EQ(s.texture, nullptr);
        EXPECT_EQ(s.assigned, 1);
        EXPECT_STREQ(s.fileName, file);
        EXPECT_EQ(s.colourKey, 0xFF000000u);
    }
}

TEST_F(TextureLoadTest, LoadingAgainReleasesTheEarlierTexture)
{
    ASSERT_TRUE(WriteBmp(Path("a.bmp"), TestImage::Filled(8, 8, 0xFF112233u)));
    ASSERT_TRUE(engine->LoadTexture(7, "a.bmp", 0));
    IDirect3DTexture9* first = engine->GetTextureSlot(7).texture;
    first->AddRef();  // keep it alive to read its count
    ASSERT_TRUE(engine->LoadTexture(7, "a.bmp", 0));
    EXPECT_NE(engine->GetTextureSlot(7).texture, first);
    EXPECT_EQ(first->Release(), 0u) << "the slot had let go of the first texture";
    engine->ReleaseTexture(7);
    EXPECT_EQ(engine->GetTextureSlot(7).texture, nullptr);
    EXPECT_STREQ(engine->GetTextureSlot(7).fileName, "a.bmp");
}

TEST_F(TextureLoadTest, ColourKeyMakesExactMatchesTransparentBlack)
{
    TestImage image = TestImage::Filled(4, 4, 0xFF000000u);
    image.At(1, 1) = 0xFF010000u;  // one step off the key: stays
    image.At(2, 2) = 0xFFFF00FFu;
    ASSERT_TRUE(WriteBmp(Path("keyed.bmp"), image));
    ASSERT_TRUE(engine->LoadTexture(1, "keyed.bmp", 0xFF000000u));
    const Image& level0 = Level(engine->GetTextureSlot(1), 0);
    EXPECT_EQ(level0.At(0, 0), 0x00000000u);
    EXPECT_EQ(level0.At(3, 3), 0x00000000u);
    EXPECT_EQ(level0.At(1, 1), 0xFF010000u);
    EXPECT_EQ(level0.At(2, 2), 0xFFFF00FFu);
}

TEST_F(TextureLoadTest, ImageIsStretchedOverThePowerOfTwoTextureWithAFullMipChain)
{
    TestImage image = TestImage::Filled(300, 200, 0xFF0000FFu);
    for (unsigned y = 0; y < 200; ++y) {
        for (unsigned x = 150; x < 300; ++x) {
            image.At(x, y) = 0xFFFF0000u;  // right half red
        }
    }
    ASSERT_TRUE(WriteBmp(Path("halves.bmp"), image));
    ASSERT_TRUE(engine->LoadTexture(2, "halves.bmp", 0));
    const TextureSlot& slot = engine->GetTextureSlot(2);
    EXPECT_EQ(slot.texture->GetLevelCount(), 10u);  // 512x256 down to 1x1
    const Image& level0 = Level(slot, 0);
    EXPECT_EQ(level0.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(level0.At(250, 128), 0xFF0000FFu);
    EXPECT_EQ(level0.At(262, 128), 0xFFFF0000u);
    EXPECT_EQ(level0.At(511, 255), 0xFFFF0000u);
    const Image& last = Level(slot, 9);
    EXPECT_EQ(last.width, 1u);
    EXPECT_EQ(last.height, 1u);
}

TEST_F(TextureLoadTest, CompressedTexelsDecodeToTheirColour)
{
    ASSERT_TRUE(WriteDxt1(Path("red.dds"), 8, 8, 0xF800));
    ASSERT_TRUE(engine->LoadTexture(4, "red.dds", 0));
    EXPECT_EQ(Level(engine->GetTextureSlot(4), 0).At(5, 6), 0xFFFF0000u);
}

}  // namespace
