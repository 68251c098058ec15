#include "platform/d3d9/Font.h"

#include <fontconfig/fontconfig.h>
#include <iconv.h>

#include <cstring>
#include <mutex>

#include "platform/d3d9/Sprite.h"
#include "platform/d3d9/Texture.h"

namespace {

// Faces the program asks for by their Windows names, and the installed faces that stand in for them.
struct FaceAlias {
    const char* name;
    const char* family;
};
constexpr FaceAlias kAliases[] = {
    {"ＭＳ ゴシック", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
};

struct SpriteVertex {
    float x, y, z, rhw;
    DWORD diffuse, specular;
    float u, v;
};

}  // namespace

std::string Font::Cp932ToUtf8(const std::string& text)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return text;
    }
    std::string out(text.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size(), outLeft = out.size();
    char* dst = out.data();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) {
            ++in;  // skip a byte that is no character
            --inLeft;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string Font::ResolveFace(const char* faceName)
{
    std::string family = Cp932ToUtf8(faceName ? faceName : "");
    for (const auto& alias : kAliases) {
        if (family == alias.name) {
            family = alias.family;
        }
    }
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    if (!FcInit()) {
        return {};
    }
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file = reinterpret_cast<const char*>(path);
    }
    if (match) {
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

Font::Font(IDirect3DDevice9* device, TTF_Font* face) : device_(device), face_(face)
{
    device_->AddRef();
}

Font::~Font()
{
    DropCache();
    TTF_CloseFont(face_);
    device_->Release();
}

void Font::DropCache()
{
    if (cached_) {
        cached_->Release();
        cached_ = nullptr;
    }
    cachedText_.clear();
}

int Font::DrawTextA(ID3DXSprite* sprite, LPCSTR text, int count, RECT* rect, DWORD format, D3DCOLOR colour)
{
    if (!text || !rect) {
        return 0;
    }
    std::string utf8 = Cp932ToUtf8(count < 0 ? std::string(text) : std::string(text, std::strlen(text) < static_cast<std::size_t>(count) ? std::strlen(text) : count));
    if (utf8.empty()) {
        return 0;
    }
    if (!cached_ || cachedText_ != utf8) {
        DropCache();
        SDL_Surface* rendered = TTF_RenderUTF8_Blended(face_, utf8.c_str(), SDL_Color{255, 255, 255, 255});
        if (!rendered) {
            return 0;
        }
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(rendered);
        if (!argb) {
            return 0;
        }
        Image image;
        image.width = static_cast<unsigned>(argb->w);
        image.height = static_cast<unsigned>(argb->h);
        image.texels.resize(static_cast<std::size_t>(image.width) * image.height);
        SDL_LockSurface(argb);
        for (unsigned y = 0; y < image.height; ++y) {
            std::memcpy(&image.At(0, y), static_cast<const BYTE*>(argb->pixels) + y * argb->pitch, image.width * 4);
        }
        SDL_UnlockSurface(argb);
        SDL_FreeSurface(argb);
        cachedWidth_ = image.width;
        cachedHeight_ = image.height;
        std::vector<Image> levels;
        levels.push_back(std::move(image));
        cached_ = new Texture(std::move(levels), D3DFMT_A8R8G8B8);
        cachedText_ = utf8;
    }
    float w = static_cast<float>(cachedWidth_), h = static_cast<float>(cachedHeight_);
    float u = 1.0f, v = 1.0f;
    if (!(format & DT_NOCLIP)) {
        float rw = static_cast<float>(rect->right - rect->left), rh = static_cast<float>(rect->bottom - rect->top);
        if (rw < w) {
            u = rw > 0 ? rw / w : 0.0f;
            w = rw > 0 ? rw : 0.0f;
        }
        if (rh < h) {
            v = rh > 0 ? rh / h : 0.0f;
            h = rh > 0 ? rh : 0.0f;
        }
    }
    float x = static_cast<float>(rect->left), y = static_cast<float>(rect->top);
    SpriteVertex quad[6] = {
        {x, y, 0, 1, colour, 0, 0, 0},         {x + w, y, 0, 1, colour, 0, u, 0},
        {x + w, y + h, 0, 1, colour, 0, u, v}, {x, y, 0, 1, colour, 0, 0, 0},
        {x + w, y + h, 0, 1, colour, 0, u, v}, {x, y + h, 0, 1, colour, 0, 0, v},
    };
    // Outside a batch the font makes its own, as the sprite object would.
    auto* batch = static_cast<Sprite*>(sprite);
    ID3DXSprite* own = nullptr;
    if (!batch || !batch->InBatch()) {
        D3DXCreateSprite(device_, &own);
        own->Begin(D3DXSPRITE_ALPHABLEND);
    }
    device_->SetTexture(0, cached_);
    device_->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    device_->SetVertexShader(nullptr);
    device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(SpriteVertex));
    device_->SetTexture(0, nullptr);
    if (own) {
        own->End();
        own->Release();
    }
    return static_cast<int>(h);
}

HRESULT Font::OnLostDevice()
{
    DropCache();
    return D3D_OK;
}

HRESULT Font::OnResetDevice()
{
    return D3D_OK;
}

HRESULT D3DXCreateFontIndirectA(IDirect3DDevice9* device, const D3DXFONT_DESCA* desc, ID3DXFont** font)
{
    if (!device || !desc || !font) {
        return D3DERR_INVALIDCALL;
    }
    *font = nullptr;
    if (!TTF_WasInit() && TTF_Init() != 0) {
        return E_FAIL;
    }
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, desc->FaceName, LF_FACESIZE);
    std::string file = Font::ResolveFace(face);
    if (file.empty()) {
        return D3DXERR_INVALIDDATA;
    }
    // A positive height is the cell height: take the largest size whose line fits in it.
    int height = desc->Height < 0 ? -desc->Height : desc->Height;
    if (height == 0) {
        height = 16;
    }
    TTF_Font* ttf = nullptr;
    for (int size = height; size > 0; --size) {
        TTF_Font* candidate = TTF_OpenFont(file.c_str(), size);
        if (!candidate) {
            break;
        }
        if (desc->Height < 0 || TTF_FontHeight(candidate) <= height || size == 1) {
            ttf = candidate;
            break;
        }
        TTF_CloseFont(candidate);
    }
    if (!ttf) {
        return D3DXERR_INVALIDDATA;
    }
    *font = new Font(device, ttf);
    return D3D_OK;
}
