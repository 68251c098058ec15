// The ground mesh img/back.x: a text .x file whose two copies, at z and z + 4 with z
// scrolling 0..-4, must join seamlessly and face the camera above it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "AssetReaders.h"

#ifdef HAVE_ASSIMP
#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#endif

using namespace assets_test;

namespace {

struct Vec {
  double x, y, z;
};

struct XMesh {
  std::string text;
  std::vector<Vec> vertices;
  std::vector<std::vector<int>> faces;
  std::string texture;
};

// Reads the first Mesh block's vertex and face lists and the first TextureFilename.
XMesh ReadX(const std::string& path) {
  XMesh m;
  const std::vector<uint8_t> bytes = ReadAll(path);
  m.text.assign(bytes.begin(), bytes.end());
  size_t at = m.text.find("Mesh ");
  if (at == std::string::npos) return m;
  at = m.text.find('{', at) + 1;
  std::string body = m.text.substr(at);
  for (char& c : body)
    if (c == ';' || c == ',') c = ' ';
  std::istringstream in(body);
  size_t count = 0;
  in >> count;
  for (size_t i = 0; i < count; ++i) {
    Vec v{};
    in >> v.x >> v.y >> v.z;
    m.vertices.push_back(v);
  }
  in >> count;
  for (size_t i = 0; i < count; ++i) {
    int n = 0;
    in >> n;
    std::vector<int> f(size_t(n > 0 ? n : 0));
    for (int& k : f) in >> k;
    m.faces.push_back(f);
  }
  const size_t tex = m.text.find("TextureFilename");
  if (tex != std::string::npos) {
    const size_t q1 = m.text.find('"', tex), q2 = m.text.find('"', q1 + 1);
    m.texture = m.text.substr(q1 + 1, q2 - q1 - 1);
  }
  return m;
}

TEST(GroundMesh, IsATextXFileWithTheTemplatesTheLoaderNeeds) {
  const XMesh m = ReadX(ProgramPath("img/back.x"));
  ASSERT_EQ(m.text.rfind("xof 0303txt 0032", 0), 0u) << "text .x header";
  for (const char* name : {"Mesh ", "MeshNormals", "MeshTextureCoords", "MeshMaterialList", "Material ", "TextureFilename"})
    EXPECT_NE(m.text.find(name), std::string::npos) << name;
  ASSERT_FALSE(m.texture.empty());
  EXPECT_TRUE(std::filesystem::exists(ProgramPath("img/" + m.texture))) << "texture beside the mesh: " << m.texture;
  // Material { red; green; blue; alpha;; power; ... }: the ground is opaque.
  const size_t material = m.text.find("Material ");
  ASSERT_NE(material, std::string::npos);
  std::string colour = m.text.substr(m.text.find('{', material) + 1, 80);
  for (char& c : colour)
    if (c == ';' || c == ',') c = ' ';
  std::istringstream in(colour);
  double r = 0, g = 0, b = 0, a = 0;
  in >> r >> g >> b >> a;
  EXPECT_DOUBLE_EQ(a, 1.0) << "diffuse alpha";
  EXPECT_GT(r + g + b, 1.5) << "a dark material would hide the texture under the lighting";
}

TEST(GroundMesh, FacesAreValidTrianglesWoundClockwiseFromAbove) {
  const XMesh m = ReadX(ProgramPath("img/back.x"));
  ASSERT_FALSE(m.vertices.empty());
  ASSERT_FALSE(m.faces.empty());
  for (const auto& f : m.faces) {
    ASSERT_EQ(f.size(), 3u);
    for (int k : f) ASSERT_TRUE(k >= 0 && size_t(k) < m.vertices.size());
    const Vec &a = m.vertices[size_t(f[0])], &b = m.vertices[size_t(f[1])], &c = m.vertices[size_t(f[2])];
    // Seen from above with x to the right and z away from the viewer, clockwise means a
    // negative signed area in the (x, z) plane.
    const double cross = (b.x - a.x) * (c.z - a.z) - (b.z - a.z) * (c.x - a.x);
    ASSERT_LT(cross, 0.0);
  }
}

TEST(GroundMesh, CoversTheViewAndRepeatsEveryFourUnits) {
  const XMesh m = ReadX(ProgramPath("img/back.x"));
  ASSERT_FALSE(m.vertices.empty());
  double minX = 1e9, maxX = -1e9, minZ = 1e9, maxZ = -1e9;
  for (const Vec& v : m.vertices) {
    minX = std::min(minX, v.x), maxX = std::max(maxX, v.x), minZ = std::min(minZ, v.z), maxZ = std::max(maxZ, v.z);
    EXPECT_LT(std::fabs(v.y), 1.0) << "ground stays near y 0";
  }
  EXPECT_LE(minX, -5.0);
  EXPECT_GE(maxX, 5.0);
  // Copies at z and z + 4 for z in -4..0 cover minZ + z .. maxZ + z + 4 without a gap when the
  // mesh is at least 4 long. The camera at (0, 2, -6) sees the ground from z -3.7 (bottom of
  // the screen) to 2.8 (fog depth 9), and that must be covered for every z.
  EXPECT_GE(maxZ - minZ, 4.0);
  EXPECT_LE(minZ, -3.7);  // worst case z = 0
  EXPECT_GE(maxZ, 2.8);   // worst case z = -4
  // Heights repeat with period 4 along z wherever both points exist.
  std::map<std::pair<long, long>, double> height;
  for (const Vec& v : m.vertices) height[{std::lround(v.x * 1000), std::lround(v.z * 1000)}] = v.y;
  int compared = 0;
  for (const auto& [key, y] : height) {
    auto other = height.find({key.first, key.second + 4000});
    if (other == height.end()) continue;
    EXPECT_NEAR(other->second, y, 1e-4);
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

#ifdef HAVE_ASSIMP
TEST(GroundMesh, ImportsWithNormalsTextureCoordinatesAndItsTexture) {
  const aiScene* scene = aiImportFile(ProgramPath("img/back.x").c_str(), aiProcess_ValidateDataStructure);
  ASSERT_NE(scene, nullptr) << aiGetErrorString();
  ASSERT_EQ(scene->mNumMeshes, 1u);
  const aiMesh* mesh = scene->mMeshes[0];
  EXPECT_TRUE(mesh->HasNormals());
  EXPECT_TRUE(mesh->HasTextureCoords(0));
  ASSERT_LT(mesh->mMaterialIndex, scene->mNumMaterials);
  aiString texture;
  EXPECT_EQ(aiGetMaterialTexture(scene->mMaterials[mesh->mMaterialIndex], aiTextureType_DIFFUSE, 0, &texture, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr),
            aiReturn_SUCCESS);
  EXPECT_STREQ(texture.C_Str(), "ground.bmp");
  aiReleaseImport(scene);
}
#endif

}  // namespace
