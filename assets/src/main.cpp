// assetgen: writes every image, the ground mesh, the sound effects, the music and the enemy
// maps of the program into a program folder, or a contact sheet of the images for review.
//   assetgen <program folder>
//   assetgen --contact-sheet <file.png> [<zoom> <name part>]
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "Art.h"
#include "ContactSheet.h"
#include "EnemyMapText.h"
#include "FileWriters.h"
#include "GroundMesh.h"
#include "MusicPieces.h"
#include "SoundEffects.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  try {
    if ((argc == 3 || argc == 5) && std::string(argv[1]) == "--contact-sheet") {
      // Optional review filters: a zoom factor and a part of the file names to keep.
      std::vector<ImageEntry> images = DrawAllImages();
      int zoom = 1;
      if (argc == 5) {
        zoom = std::max(1, std::atoi(argv[3]));
        std::erase_if(images, [&](const ImageEntry& e) { return e.image->file().find(argv[4]) == std::string::npos; });
      }
      WriteContactSheet(argv[2], images, zoom);
      return 0;
    }
    if (argc != 2) {
      std::fprintf(stderr, "usage: assetgen <program folder> | assetgen --contact-sheet <file.png>\n");
      return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const fs::path root = argv[1];
    for (const char* dir : {"img", "wav", "Music"}) fs::create_directories(root / dir);
    for (const ImageEntry& entry : DrawAllImages()) {
      const std::string path = (root / entry.image->file()).string();
      if (entry.jpeg) WriteJpeg(path, entry.image->Flatten(), 92);
      else WriteBmp(path, entry.image->Flatten());
    }
    WriteText((root / "img/back.x").string(), BuildGroundMesh("ground.bmp"));
    WriteSoundEffects(root.string());
    WriteMusicPieces(root.string());
    WriteEnemyMaps(root.string());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: wrote assets into %s in %.2f s\n", root.string().c_str(), seconds);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
}
