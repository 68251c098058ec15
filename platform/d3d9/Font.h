#pragma once
// ID3DXFont on SDL2_ttf: the face is found through fontconfig, text is rendered into a texture
// and drawn as one pre-transformed quad through the device.
#include <SDL_ttf.h>

#include <string>

#include "platform/d3d9/D3DX9.h"
#include "platform/d3d9/RefCounted.h"

class Texture;

class Font final : public RefCounted<ID3DXFont> {
public:
    Font(IDirect3DDevice9* device, TTF_Font* face);

    int DrawTextA(ID3DXSprite* sprite, LPCSTR text, int count, RECT* rect, DWORD format, D3DCOLOR colour) override;
    HRESULT OnLostDevice() override;
    HRESULT OnResetDevice() override;

    // The font file fontconfig resolves a face name (code page 932) to, or empty.
    static std::string ResolveFace(const char* faceName);
    static std::string Cp932ToUtf8(const std::string& text);

private:
    ~Font() override;
    void DropCache();

    IDirect3DDevice9* device_;
    TTF_Font* face_;
    std::string cachedText_;
    Texture* cached_ = nullptr;
    unsigned cachedWidth_ = 0, cachedHeight_ = 0;
};
