// The pending sprite state, sprites and text.
#include <cmath>
#include <cstring>

#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/SpriteDrawState.h"

SpriteDrawState g_spriteDrawState{0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0xFFFFFFFFu, 0, 0};

void GraphicsEngine::ResetDrawState()
{
    g_spriteDrawState.angle = 0.0f;
    g_spriteDrawState.centreX = 0.0f;
    g_spriteDrawState.centreY = 0.0f;
    g_spriteDrawState.scaleX = 1.0f;
    g_spriteDrawState.scaleY = 1.0f;
    g_spriteDrawState.colour = 0xFFFFFFFFu;
    g_spriteDrawState.blendMode = static_cast<std::int32_t>(SpriteBlendMode::Alpha);
    g_spriteDrawState.transformSet = 0;
}

void GraphicsEngine::SetBlend(int mode, std::uint32_t colour)
{
    g_spriteDrawState.blendMode = mode;
    g_spriteDrawState.colour = colour;
}

void GraphicsEngine::SetRotation(float angleDegrees, float centreX, float centreY)
{
    g_spriteDrawState.angle = 3.1415927f * angleDegrees / 180.0f;
    g_spriteDrawState.centreX = centreX;
    g_spriteDrawState.centreY = centreY;
    g_spriteDrawState.transformSet = 1;
}

void GraphicsEngine::SetScale(float scaleX, float scaleY)
{
    g_spriteDrawState.scaleX = scaleX;
    g_spriteDrawState.scaleY = scaleY;
    g_spriteDrawState.transformSet = 1;
}

void GraphicsEngine::SetVertex(SpriteVertex* vertex, float x, float y, float z, float u, float v, std::uint32_t diffuse)
{
    vertex->x = x;
    vertex->y = y;
    vertex->z = z;
    vertex->rhw = 1.0f;
    vertex->diffuse = diffuse;
    vertex->specular = 0;
    vertex->u = u;
    vertex->v = v;
}

void GraphicsEngine::DrawSprite(int x, int y, int slot, int srcX, int srcY, int w, int h)
{
    if (drawEnabled == 0) {
        return;
    }
    // A slot without a texture has no image size to cut from: nothing is drawn, the state is used up.
    if (slot < 0 || slot >= kTextureSlotCount || !textureSlots[slot].texture) {
        ResetDrawState();
        return;
    }
    const TextureSlot& source = textureSlots[slot];
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);

    float tw = static_cast<float>(source.imageWidth);
    float th = static_cast<float>(source.imageHeight);
    float uL = static_cast<float>(srcX) / tw;
    float vT = static_cast<float>(srcY) / th;
    float uR = uL + static_cast<float>(w) / tw;
    float vB = vT + static_cast<float>(h) / th;

    float cx[4] = {static_cast<float>(x), static_cast<float>(x + w), static_cast<float>(x + w), static_cast<float>(x)};
    float cy[4] = {static_cast<float>(y), static_cast<float>(y), static_cast<float>(y + h), static_cast<float>(y + h)};
    const SpriteDrawState& state = g_spriteDrawState;
    if (state.transformSet == 1) {
        float px = static_cast<float>(x) + state.centreX;
        float py = static_cast<float>(y) + state.centreY;
        float c = std::cos(state.angle), s = std::sin(state.angle);
        for (int i = 0; i < 4; ++i) {
            float dx = (cx[i] - px) * state.scaleX;
            float dy = (cy[i] - py) * state.scaleY;
            cx[i] = px + dx * c - dy * s;
            cy[i] = py + dx * s + dy * c;
        }
    }

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    if (state.blendMode == static_cast<std::int32_t>(SpriteBlendMode::Alpha)) {
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    } else if (state.blendMode == static_cast<std::int32_t>(SpriteBlendMode::Additive)) {
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    }
    device->SetTexture(0, source.texture);
    device->SetVertexShader(nullptr);
    device->SetFVF(kSpriteVertexFormat);

    SpriteVertex vertices[6];
    SetVertex(&vertices[0], cx[0], cy[0], 0.0f, uL, vT, state.colour);
    SetVertex(&vertices[1], cx[1], cy[1], 0.0f, uR, vT, state.colour);
    SetVertex(&vertices[2], cx[2], cy[2], 0.0f, uR, vB, state.colour);
    SetVertex(&vertices[3], cx[0], cy[0], 0.0f, uL, vT, state.colour);
    SetVertex(&vertices[4], cx[2], cy[2], 0.0f, uR, vB, state.colour);
    SetVertex(&vertices[5], cx[3], cy[3], 0.0f, uL, vB, state.colour);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, vertices, sizeof(SpriteVertex));

    ResetDrawState();
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetTexture(0, nullptr);
}

void GraphicsEngine::DrawText(int x, int y, const char* text, std::uint32_t colour)
{
    if (drawEnabled == 0) {
        return;
    }
    // Without a font (its creation failed) there is no text to draw.
    if (!font || !sprite || !text) {
        return;
    }
    if (FAILED(sprite->Begin(D3DXSPRITE_ALPHABLEND))) {
        return;
    }
    RECT rect{x, y, x + static_cast<LONG>(std::strlen(text)) * fontHeight, y + fontHeight};
    font->DrawTextA(sprite, text, -1, &rect, DT_NOCLIP, colour);
    sprite->End();
}

void GraphicsEngine::CreateFont(int height)
{
    if (font) {
        font->Release();
        font = nullptr;
    }
    fontHeight = height;
    D3DXFONT_DESCA desc{};
    desc.Height = height;
    desc.Width = 0;
    desc.Weight = 0;
    desc.MipLevels = D3DX_DEFAULT;
    desc.Italic = FALSE;
    desc.CharSet = DEFAULT_CHARSET;
    desc.OutputPrecision = OUT_DEFAULT_PRECIS;
    desc.Quality = DEFAULT_QUALITY;
    desc.PitchAndFamily = 0;
    // "ＭＳ ゴシック" in code page 932.
    static const char kFaceName[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
    static_assert(sizeof kFaceName == 14);
    std::memcpy(desc.FaceName, kFaceName, sizeof kFaceName);
    if (FAILED(D3DXCreateFontIndirectA(device, &desc, &font))) {
        font = nullptr;
    }
}
