// Meshes from .x files: materials, texture names, subsets, drawing and replacement.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tests/engine/graphics/GraphicsFixture.h"
#include "tests/engine/graphics/TestImages.h"

namespace {

// Two triangles, one per material; the first material names a texture.
const char kTwoMaterials[] = R"(xof 0303txt 0032
Mesh pair {
 6;
 0.0;0.0;0.0;,
 0.0;1.0;0.0;,
 1.0;0.0;0.0;,
 2.0;0.0;0.0;,
 2.0;1.0;0.0;,
 3.0;0.0;0.0;;
 2;
 3;0,1,2;,
 3;3,4,5;;
 MeshMaterialList {
  2;
  2;
  0,
  1;;
  Material {
   0.800000;0.600000;0.400000;1.000000;;
   8.000000;
   0.100000;0.100000;0.100000;;
   0.000000;0.000000;0.000000;;
   TextureFilename {
    "skin.bmp";
   }
  }
  Material {
   0.200000;0.400000;1.000000;0.500000;;
   0.000000;
   0.000000;0.000000;0.000000;;
   0.000000;0.000000;0.000000;;
   TextureFilename {
    "missing.bmp";
   }
  }
 }
 MeshTextureCoords {
  6;
  0.0;0.0;,
  0.0;1.0;,
  1.0;0.0;,
  0.0;0.0;,
  0.0;1.0;,
  1.0;0.0;;
 }
}
)";

class MeshTest : public GraphicsFixture {
protected:
    void SetUp() override
    {
        GraphicsFixture::SetUp();
        ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
        std::filesystem::create_directories(Path("img"));
        std::FILE* f = std::fopen(Path("img/pair.x").c_str(), "w");
        std::fputs(kTwoMaterials, f);
        std::fclose(f);
        ASSERT_TRUE(WriteBmp(Path("img/skin.bmp"), TestImage::Filled(4, 4, 0xFF808080u)));
    }
};

TEST_F(MeshTest, MaterialsAndTexturesComeFromTheFileWithHalfTheDiffuseAsAmbient)
{
    ASSERT_TRUE(engine->LoadMesh(0, "pair.x", "./img"));
    ASSERT_EQ(engine->GetMeshes().size(), 1u);
    const MeshEntry& entry = engine->GetMeshes()[0];
    EXPECT_EQ(entry.loaded, 1);
    ASSERT_EQ(entry.materialCount, 2u);
    EXPECT_EQ(entry.mesh->GetNumFaces(), 2u);
    const D3DMATERIAL9& first = entry.materials[0];
    EXPECT_FLOAT_EQ(first.Diffuse.r, 0.8f);
    EXPECT_FLOAT_EQ(first.Ambient.r, 0.4f);
    EXPECT_FLOAT_EQ(first.Ambient.g, 0.3f);
    EXPECT_FLOAT_EQ(first.Ambient.b, 0.2f);
    EXPECT_FLOAT_EQ(first.Power, 8.0f);
    EXPECT_FLOAT_EQ(entry.materials[1].Diffuse.a, 0.5f);
    EXPECT_NE(entry.textures[0], nullptr) << "img/skin.bmp";
    EXPECT_EQ(entry.textures[1], nullptr) << "a texture that fails to load leaves the subset untextured";
    auto* names = static_cast<D3DXMATERIAL*>(entry.materialBuffer->GetBufferPointer());
    EXPECT_STREQ(names[0].pTextureFilename, "skin.bmp");
    EXPECT_EQ(entry.adjacency->GetBufferSize(), 2u * 3u * sizeof(DWORD));
}

TEST_F(MeshTest, DrawingSetsThePlaceThenEachSubsetWithItsMaterialAndTexture)
{
    ASSERT_TRUE(engine->LoadMesh(0, "pair.x", "./img"));
    engine->GetDevice()->BeginScene();
    Recorder()->ClearCalls();
    engine->DrawMesh(1.0f, 2.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0);
    std::vector<std::string> names;
    for (const auto& call : Recorder()->calls) {
        names.push_back(call.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"SetTransform", "SetMaterial", "SetTexture", "SetFVF",
                                               "DrawIndexedPrimitiveUP", "SetMaterial", "SetTexture", "SetFVF",
                                               "DrawIndexedPrimitiveUP"}));
    const auto& world = Recorder()->calls[0].args;
    EXPECT_EQ(world[0], double(D3DTS_WORLD));
    EXPECT_EQ(world[13], 1.0);  // translation row
    EXPECT_EQ(world[14], 2.0);
    EXPECT_EQ(world[15], 3.0);
    EXPECT_EQ(Recorder()->calls[2].args[1],
              double(reinterpret_cast<std::uintptr_t>(engine->GetMeshes()[0].textures[0])));
    EXPECT_EQ(Recorder()->calls[6].args[1], 0.0);
    EXPECT_EQ(Recorder()->calls[4].args[3], 1.0) << "one triangle in each subset";
    // The file's own left-handed coordinates: the first subset's triangle lies at x 0..1.
    struct Vertex {
        float x, y, z, nx, ny, nz, u, v;
    };
    const auto& bytes = Recorder()->calls[4].vertices;
    ASSERT_GE(bytes.size(), sizeof(Vertex));
    Vertex v{};
    std::memcpy(&v, bytes.data(), sizeof v);
    EXPECT_FLOAT_EQ(v.x, 0.0f);
    EXPECT_FLOAT_EQ(v.y, 0.0f);
}

TEST_F(MeshTest, NothingIsDrawnWhileDisabledOrForAnEntryNeverStored)
{
    ASSERT_TRUE(engine->LoadMesh(0, "pair.x", "./img"));
    engine->GetDevice()->BeginScene();
    Recorder()->ClearCalls();
    engine->SetDrawEnabled(false);
    engine->DrawMesh(0, 0, 0, 0, 0, 0, 0);
    engine->SetDrawEnabled(true);
    engine->DrawMesh(0, 0, 0, 0, 0, 0, 1);
    engine->DrawMesh(0, 0, 0, 0, 0, 0, 40);
    EXPECT_TRUE(Recorder()->calls.empty());
}

TEST_F(MeshTest, ReloadingAnIndexReleasesWhatItReplaces)
{
    ASSERT_TRUE(engine->LoadMesh(0, "pair.x", "./img"));
    ASSERT_TRUE(engine->LoadMesh(1, "pair.x", "./img"));
    IDirect3DTexture9* oldTexture = engine->GetMeshes()[1].textures[0];
    ID3DXMesh* oldMesh = engine->GetMeshes()[0].mesh;
    oldTexture->AddRef();
    oldMesh->AddRef();
    ASSERT_TRUE(engine->LoadMesh(0, "pair.x", "./img"));
    EXPECT_EQ(engine->GetMeshes().size(), 1u) << "entries after the index are dropped";
    EXPECT_EQ(oldTexture->Release(), 0u) << "the dropped entry's texture was released";
    EXPECT_EQ(oldMesh->Release(), 0u) << "the replaced entry's mesh was released";
}

TEST_F(MeshTest, FailuresStoreNothing)
{
    EXPECT_FALSE(engine->LoadMesh(0, "absent.x", "./img"));
    EXPECT_FALSE(engine->LoadMesh(2, "pair.x", "./img")) << "no entry can be stored past the end";
    EXPECT_TRUE(engine->GetMeshes().empty());
}

TEST_F(MeshTest, TheBackdropMeshOfTheProgramLoadsWithItsTexture)
{
    std::filesystem::path img = std::filesystem::path(PROGRAM_DIR) / "img";
    if (!std::filesystem::exists(img / "back.x")) {
        GTEST_SKIP() << "the game's assets are not built";
    }
    std::filesystem::copy(img, Path("game"), std::filesystem::copy_options::recursive);
    ASSERT_TRUE(engine->LoadMesh(0, "back.x", "./game"));
    const MeshEntry& entry = engine->GetMeshes()[0];
    ASSERT_GE(entry.materialCount, 1u);
    EXPECT_GT(entry.mesh->GetNumFaces(), 0u);
    auto* materials = static_cast<D3DXMATERIAL*>(entry.materialBuffer->GetBufferPointer());
    for (std::uint32_t i = 0; i < entry.materialCount; ++i) {
        if (materials[i].pTextureFilename) {
            EXPECT_NE(entry.textures[i], nullptr) << materials[i].pTextureFilename;
        }
    }
}

}  // namespace
