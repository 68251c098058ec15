// Sprites on the recording device: vertices, texture coordinates, pending state and blend states.
#include <cmath>
#include <cstring>

#include "engine/SpriteBlendMode.h"
#include "engine/SpriteDrawState.h"
#include "tests/engine/graphics/GraphicsFixture.h"
#include "tests/engine/graphics/TestImages.h"

namespace {

class SpriteDrawTest : public GraphicsFixture {
protected:
    void SetUp() override
    {
        GraphicsFixture::SetUp();
        ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
        // A 300 x 200 image: its texture is 512 x 256, but coordinates come from the image size.
        ASSERT_TRUE(WriteBmp(Path("sheet.bmp"), TestImage::Filled(300, 200, 0xFF102030u)));
        ASSERT_TRUE(engine->LoadTexture(3, "sheet.bmp", 0));
        engine->GetDevice()->BeginScene();
        Recorder()->ClearCalls();
    }

    // The vertices of the only sprite drawn since the last ClearCalls.
    std::vector<RecordedVertex> OnlySprite()
    {
        auto draws = Recorder()->Named("DrawPrimitiveUP");
        EXPECT_EQ(draws.size(), 1u);
        if (draws.size() != 1) {
            return {};
        }
        EXPECT_EQ(draws[0].args, (std::vector<double>{D3DPT_TRIANGLELIST, 2, 32}));
        return RecordingDevice::Vertices(draws[0]);
    }

    double RenderState(D3DRENDERSTATETYPE state)
    {
        double value = -1;
        for (const auto& call : Recorder()->Named("SetRenderState")) {
            if (call.args[0] == double(state)) {
                value = call.args[1];
            }
        }
        return value;
    }
};

struct Corner {
    float x, y, u, v;
};

void ExpectCorners(const std::vector<RecordedVertex>& v, const Corner (&c)[4], float tolerance = 0.0f)
{
    ASSERT_EQ(v.size(), 6u);
    // Two triangles: c0 c1 c2 and c0 c2 c3.
    const int order[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const Corner& want = c[order[i]];
        EXPECT_NEAR(v[i].x, want.x, tolerance);
        EXPECT_NEAR(v[i].y, want.y, tolerance);
        EXPECT_FLOAT_EQ(v[i].u, want.u);
        EXPECT_FLOAT_EQ(v[i].v, want.v);
        EXPECT_EQ(v[i].z, 0.0f);
        EXPECT_EQ(v[i].rhw, 1.0f);
        EXPECT_EQ(v[i].specular, 0u);
    }
}

TEST_F(SpriteDrawTest, PlainSpriteIsAnAxisAlignedQuadWithCoordinatesFromTheImageSize)
{
    struct Case {
        int x, y, srcX, srcY, w, h;
    } cases[] = {{10, 20, 0, 0, 300, 200}, {100, 50, 30, 40, 64, 32}, {-5, 470, 150, 100, 150, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        Recorder()->ClearCalls();
        engine->DrawSprite(c.x, c.y, 3, c.srcX, c.srcY, c.w, c.h);
        float uL = c.srcX / 300.0f, vT = c.srcY / 200.0f;
        float uR = uL + c.w / 300.0f, vB = vT + c.h / 200.0f;
        float x0 = float(c.x), y0 = float(c.y), x1 = float(c.x + c.w), y1 = float(c.y + c.h);
        auto v = OnlySprite();
        ExpectCorners(v, {{x0, y0, uL, vT}, {x1, y0, uR, vT}, {x1, y1, uR, vB}, {x0, y1, uL, vB}});
        for (const auto& vertex : v) {
            EXPECT_EQ(vertex.diffuse, 0xFFFFFFFFu);
        }
        EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
        EXPECT_EQ(RenderState(D3DRS_DESTBLEND), D3DBLEND_INVSRCALPHA);
    }
}

TEST_F(SpriteDrawTest, DeviceCallsComeInOrderAroundTheDraw)
{
    engine->DrawSprite(0, 0, 3, 0, 0, 16, 16);
    std::vector<std::string> names;
    for (const auto& call : Recorder()->calls) {
        names.push_back(call.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"SetRenderState", "SetRenderState", "SetRenderState", "SetRenderState",
                                               "SetTexture", "SetVertexShader", "SetFVF", "DrawPrimitiveUP",
                                               "SetRenderState", "SetRenderState", "SetTexture"}));
    const auto& c = Recorder()->calls;
    EXPECT_EQ(c[0].args, (std::vector<double>{D3DRS_ZWRITEENABLE, FALSE}));
    EXPECT_EQ(c[1].args, (std::vector<double>{D3DRS_ALPHABLENDENABLE, TRUE}));
    EXPECT_EQ(c[4].args[1], double(reinterpret_cast<std::uintptr_t>(engine->GetTextureSlot(3).texture)));
    EXPECT_EQ(c[5].args[0], 0.0);
    EXPECT_EQ(c[6].args[0], double(0x1C4));
    EXPECT_EQ(c[8].args, (std::vector<double>{D3DRS_ZWRITEENABLE, TRUE}));
    EXPECT_EQ(c[9].args, (std::vector<double>{D3DRS_ZENABLE, D3DZB_TRUE}));
    EXPECT_EQ(c[10].args[1], 0.0);
}

TEST_F(SpriteDrawTest, ScaleFromTheTopLeftCornerCoversTheScreen)
{
    engine->SetScale(4.0f, 4.0f);
    engine->DrawSprite(0, 0, 3, 0, 0, 160, 120);
    ExpectCorners(OnlySprite(), {{0, 0, 0, 0},
                                 {640, 0, 160 / 300.0f, 0},
                                 {640, 480, 160 / 300.0f, 120 / 200.0f},
                                 {0, 480, 0, 120 / 200.0f}});
}

TEST_F(SpriteDrawTest, QuarterTurnAboutTheMiddleMovesTopLeftToTopRight)
{
    engine->SetRotation(90.0f, 20.0f, 10.0f);
    engine->DrawSprite(100, 100, 3, 0, 0, 40, 20);
    // Pivot (120, 110): a clockwise quarter turn on a y-down screen.
    ExpectCorners(OnlySprite(), {{130, 90, 0, 0},
                                 {130, 130, 40 / 300.0f, 0},
                                 {110, 130, 40 / 300.0f, 20 / 200.0f},
                                 {110, 90, 0, 20 / 200.0f}},
                  1e-4f);
}

TEST_F(SpriteDrawTest, ScaleIsAppliedBeforeRotation)
{
    engine->SetRotation(90.0f, 0.0f, 0.0f);
    engine->SetScale(2.0f, 1.0f);
    engine->DrawSprite(50, 50, 3, 0, 0, 10, 10);
    // Corner (60, 50): stretched to (70, 50), then turned to (50, 70).
    auto v = OnlySprite();
    ASSERT_EQ(v.size(), 6u);
    EXPECT_NEAR(v[1].x, 50.0f, 1e-4f);
    EXPECT_NEAR(v[1].y, 70.0f, 1e-4f);
    EXPECT_NEAR(v[5].x, 40.0f, 1e-4f);  // (50, 60) -> dy 10 -> (40, 50)
    EXPECT_NEAR(v[5].y, 50.0f, 1e-4f);
}

TEST_F(SpriteDrawTest, BlendModesSetTheirFactorsAndOthersLeaveThem)
{
    struct Case {
        int mode;
        double src, dest;
    } cases[] = {{int(SpriteBlendMode::Alpha), D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                 {int(SpriteBlendMode::Additive), D3DBLEND_ONE, D3DBLEND_ONE},
                 {7, -1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Recorder()->ClearCalls();
        engine->SetBlend(c.mode, 0x40FFFFFFu);
        engine->DrawSprite(0, 0, 3, 0, 0, 8, 8);
        EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), TRUE);
        EXPECT_EQ(RenderState(D3DRS_SRCBLEND), c.src);
        EXPECT_EQ(RenderState(D3DRS_DESTBLEND), c.dest);
        for (const auto& vertex : OnlySprite()) {
            EXPECT_EQ(vertex.diffuse, 0x40FFFFFFu);
        }
    }
}

TEST_F(SpriteDrawTest, EachDrawConsumesThePendingState)
{
    engine->SetBlend(int(SpriteBlendMode::Additive), 0x80FF0000u);
    engine->SetRotation(45.0f, 4.0f, 4.0f);
    engine->SetScale(3.0f, 3.0f);
    engine->DrawSprite(0, 0, 3, 0, 0, 8, 8);
    Recorder()->ClearCalls();
    engine->DrawSprite(10, 10, 3, 0, 0, 8, 8);
    auto v = OnlySprite();
    ExpectCorners(v, {{10, 10, 0, 0}, {18, 10, 8 / 300.0f, 0}, {18, 18, 8 / 300.0f, 8 / 200.0f}, {10, 18, 0, 8 / 200.0f}});
    EXPECT_EQ(v[0].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
}

TEST_F(SpriteDrawTest, DisabledDrawingTouchesNothingAndKeepsTheStateUntilTheNextFrame)
{
    engine->SetDrawEnabled(false);
    engine->SetScale(2.0f, 2.0f);
    engine->DrawSprite(0, 0, 3, 0, 0, 8, 8);
    engine->DrawText(0, 0, "skip", 0xFFFFFFFFu);
    EXPECT_TRUE(Recorder()->calls.empty());
    EXPECT_EQ(g_spriteDrawState.scaleX, 2.0f);
    EXPECT_EQ(g_spriteDrawState.transformSet, 1);

    engine->GetDevice()->EndScene();
    engine->SetDrawEnabled(true);
    engine->Render();  // resets the state before the tasks draw
    EXPECT_EQ(g_spriteDrawState.scaleX, 1.0f);
    EXPECT_EQ(g_spriteDrawState.transformSet, 0);
}

TEST_F(SpriteDrawTest, MirroredSpriteReversesTheWinding)
{
    auto signedArea = [](const std::vector<RecordedVertex>& v) {
        return (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
    };
    engine->DrawSprite(100, 100, 3, 0, 0, 10, 10);
    float plain = signedArea(OnlySprite());
    Recorder()->ClearCalls();
    engine->SetScale(-1.0f, 1.0f);
    engine->DrawSprite(100, 100, 3, 0, 0, 10, 10);
    float mirrored = signedArea(OnlySprite());
    EXPECT_GT(plain, 0.0f);
    EXPECT_LT(mirrored, 0.0f);
}

TEST_F(SpriteDrawTest, EmptySlotDrawsNothingButUsesUpTheState)
{
    engine->SetScale(2.0f, 2.0f);
    engine->DrawSprite(0, 0, 20, 0, 0, 8, 8);
    engine->DrawSprite(0, 0, 99, 0, 0, 8, 8);
    EXPECT_TRUE(Recorder()->calls.empty());
    EXPECT_EQ(g_spriteDrawState.transformSet, 0);
}

TEST_F(SpriteDrawTest, TextIsLaidOutInTheRectangleFromTheFontHeight)
{
    ASSERT_NE(engine->GetFont(), nullptr) << "the gothic face resolves to an installed font";
    EXPECT_EQ(engine->GetFontHeight(), 16);
    engine->DrawText(500, 440, "Now", 0xFFFFFFFFu);
    auto draws = Recorder()->Named("DrawPrimitiveUP");
    ASSERT_EQ(draws.size(), 1u);
    auto v = RecordingDevice::Vertices(draws[0]);
    ASSERT_EQ(v.size(), 6u);
    EXPECT_EQ(v[0].x, 500.0f);
    EXPECT_EQ(v[0].y, 440.0f);
    EXPECT_GT(v[1].x, 500.0f);
    EXPECT_LE(v[1].x, 548.0f);
    EXPECT_LE(v[2].y, 456.0f);
    EXPECT_EQ(v[0].diffuse, 0xFFFFFFFFu);
}

}  // namespace
