#include "GroundMesh.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Gentle hills, periodic in z with period 4, flattening toward the middle lane.
double Height(double x, double z) {
  const double w = 2 * kPi * z / 4;
  const double side = std::min(1.0, std::fabs(x) / 3.0);
  return side * (0.22 * std::sin(w + x * 0.9) + 0.12 * std::sin(2 * w - x * 1.7) + 0.08 * std::cos(3 * w + x * 0.5));
}

struct Vertex {
  double x, y, z, nx, ny, nz, u, v;
};

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6f", std::fabs(v) < 5e-7 ? 0.0 : v);
  return buf;
}

}  // namespace

std::string BuildGroundMesh(const std::string& textureFile) {
  constexpr int kCols = 20;        // x -5..5 in steps of 0.5
  constexpr int kRowsPerHalf = 8;  // z steps of 0.5 over each 4-unit period
  std::vector<Vertex> vertices;
  std::vector<int> faces;
  // Two periods, each with its own vertex rows so texture v runs 0..1 without wrapping.
  for (int half = 0; half < 2; ++half) {
    const int base = int(vertices.size());
    for (int r = 0; r <= kRowsPerHalf; ++r) {
      const double z = -4.0 + 4.0 * half + 0.5 * r;
      for (int c = 0; c <= kCols; ++c) {
        const double x = -5.0 + 0.5 * c;
        const double e = 0.01;
        const double dx = (Height(x + e, z) - Height(x - e, z)) / (2 * e);
        const double dz = (Height(x, z + e) - Height(x, z - e)) / (2 * e);
        const double len = std::sqrt(dx * dx + 1 + dz * dz);
        vertices.push_back({x, Height(x, z), z, -dx / len, 1 / len, -dz / len, c / double(kCols),
                            1.0 - r / double(kRowsPerHalf)});
      }
    }
    for (int r = 0; r < kRowsPerHalf; ++r) {
      for (int c = 0; c < kCols; ++c) {
        const int p00 = base + r * (kCols + 1) + c, p10 = p00 + 1;
        const int p01 = p00 + kCols + 1, p11 = p01 + 1;
        // Clockwise seen from above (y up, z away from the camera).
        faces.insert(faces.end(), {p00, p01, p11, p00, p11, p10});
      }
    }
  }
  const size_t faceCount = faces.size() / 3;
  std::string out = "xof 0303txt 0032\n\n";
  out += "Material GroundMaterial {\n  1.000000;1.000000;1.000000;1.000000;;\n  8.000000;\n"
         "  0.000000;0.000000;0.000000;;\n  0.000000;0.000000;0.000000;;\n  TextureFilename {\n    \"" +
         textureFile + "\";\n  }\n}\n\n";
  out += "Mesh Ground {\n  " + std::to_string(vertices.size()) + ";\n";
  for (size_t i = 0; i < vertices.size(); ++i) {
    const Vertex& v = vertices[i];
    out += "  " + Num(v.x) + ";" + Num(v.y) + ";" + Num(v.z) + ";" + (i + 1 < vertices.size() ? "," : ";") + "\n";
  }
  auto faceList = [&faces, faceCount]() {
    std::string s = "  " + std::to_string(faceCount) + ";\n";
    for (size_t f = 0; f < faceCount; ++f) {
      s += "  3;" + std::to_string(faces[f * 3]) + "," + std::to_string(faces[f * 3 + 1]) + "," +
           std::to_string(faces[f * 3 + 2]) + ";" + (f + 1 < faceCount ? "," : ";") + "\n";
    }
    return s;
  };
  out += faceList();
  out += "\n  MeshNormals {\n    " + std::to_string(vertices.size()) + ";\n";
  for (size_t i = 0; i < vertices.size(); ++i) {
    const Vertex& v = vertices[i];
    out += "    " + Num(v.nx) + ";" + Num(v.ny) + ";" + Num(v.nz) + ";" + (i + 1 < vertices.size() ? "," : ";") + "\n";
  }
  out += faceList();
  out += "  }\n\n  MeshTextureCoords {\n    " + std::to_string(vertices.size()) + ";\n";
  for (size_t i = 0; i < vertices.size(); ++i) {
    const Vertex& v = vertices[i];
    out += "    " + Num(v.u) + ";" + Num(v.v) + ";" + (i + 1 < vertices.size() ? "," : ";") + "\n";
  }
  out += "  }\n\n  MeshMaterialList {\n    1;\n    " + std::to_string(faceCount) + ";\n";
  for (size_t f = 0; f < faceCount; ++f) out += std::string("    0") + (f + 1 < faceCount ? "," : ";") + "\n";
  out += "    { GroundMaterial }\n  }\n}\n";
  return out;
}
