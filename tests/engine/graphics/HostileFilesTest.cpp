// Files a user put in place of the game's images and mesh: crafted headers, folders and named
// pipes. Each is a failed load, in bounded memory and time, never an abort or a hang.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>

#include "tests/engine/graphics/GraphicsFixture.h"
#include "tests/support/FifoInPlace.h"

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

class HostileFilesTest : public GraphicsFixture {
protected:
    void SetUp() override
    {
        GraphicsFixture::SetUp();
        ASSERT_EQ(Start(D3D9AdapterAnswers{}), 0);
        fs::create_directory(Path("img"));
    }

    // Runs the load in a child process with its address space bounded to what it uses now plus
    // 256 MiB and 20 seconds of time; the exit status tells what happened. An allocation the
    // bound refuses ends the child at once, before any reader could catch it as a failed load:
    // a load must stay within the bound, not merely survive crossing it.
    enum class Outcome { Failed, Loaded, Threw, Killed, OutOfMemory };
    Outcome LoadBounded(const std::function<bool()>& load)
    {
        pid_t child = fork();
        if (child == 0) {
            if (!kAddressSanitizer) {  // the sanitizer's shadow memory needs an unbounded space
                std::ifstream statm("/proc/self/statm");
                long pages = 0;
                statm >> pages;
                rlim_t limit = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (256u << 20);
                rlimit bound{limit, limit};
                setrlimit(RLIMIT_AS, &bound);
            }
            std::set_new_handler([] { _exit(3); });
            alarm(20);
            try {
                _exit(load() ? 1 : 0);
            } catch (...) {
                _exit(2);
            }
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status)) {
            return Outcome::Killed;
        }
        const Outcome byStatus[] = {Outcome::Failed, Outcome::Loaded, Outcome::Threw, Outcome::OutOfMemory};
        return WEXITSTATUS(status) < 4 ? byStatus[WEXITSTATUS(status)] : Outcome::Killed;
    }
    Outcome LoadBounded(const std::string& image)
    {
        return LoadBounded([&] { return engine->LoadTexture(0, image.c_str(), 0); });
    }
};

// The crafted inputs of the image fuzz corpus, each under the extension it would be found by
// and under a neutral one (the decoder goes by content).
TEST_F(HostileFilesTest, ImagesClaimingMoreThanTheyHoldFailToLoad)
{
    const char* crafted[] = {"crafted-png-100000x100000.png", "crafted-jpeg-65500x65500.jpg",
                             "crafted-dds-16384x16384-no-data.dds"};
    for (const char* name : crafted) {
        fs::path source = fs::path(FUZZ_CORPUS_DIR) / "image" / name;
        ASSERT_TRUE(fs::exists(source)) << source;
        for (const std::string& as : {std::string(name), std::string(name) + ".bmp"}) {
            SCOPED_TRACE(as);
            fs::copy_file(source, Path("img/" + as), fs::copy_options::overwrite_existing);
            EXPECT_EQ(LoadBounded("img/" + as), Outcome::Failed);
        }
    }
}

TEST_F(HostileFilesTest, FolderOrPipeInPlaceOfAnImageFailsToLoadAtOnce)
{
    for (const char* name : {"img/folder.bmp", "img/folder.jpg"}) {
        fs::create_directory(Path(name));
        EXPECT_FALSE(engine->LoadTexture(1, name, 0)) << name;
        EXPECT_EQ(engine->GetTextureSlot(1).texture, nullptr);
    }
    for (const char* name : {"img/pipe.png", "img/pipe.jpg"}) {
        FifoInPlace pipe(Path(name));
        ASSERT_TRUE(pipe.Made());
        bool loaded = true;
        EXPECT_TRUE(pipe.ReturnsWithoutBlocking([&] { loaded = engine->LoadTexture(2, name, 0); }))
            << name << " was opened and waited on";
        EXPECT_FALSE(loaded) << name;
    }
}

TEST_F(HostileFilesTest, MeshWithoutTrianglesLoadsAsAnEmptyMesh)
{
    fs::copy_file(fs::path(FUZZ_CORPUS_DIR) / "mesh" / "crafted-no-triangles.x", Path("img/empty.x"));
    ASSERT_TRUE(engine->LoadMesh(0, "empty.x", "./img"));
    const MeshEntry& entry = engine->GetMeshes()[0];
    EXPECT_EQ(entry.mesh->GetNumFaces(), 0u);
    EXPECT_EQ(entry.adjacency->GetBufferSize(), 0u);
    engine->DrawMesh(0, 0, 0, 0, 0, 0, 0);

    // A face without indices once stopped the importer's triangulation with an abort.
    fs::copy_file(fs::path(FUZZ_CORPUS_DIR) / "mesh" / "crafted-face-without-indices.x", Path("img/faces.x"));
    ASSERT_TRUE(engine->LoadMesh(0, "faces.x", "./img"));
    EXPECT_EQ(engine->GetMeshes()[0].mesh->GetNumFaces(), 1u) << "the one face of three corners";
}

// Counts the file claims (5.7 GB of vertices, 80 GB of faces) with the data nowhere in it, and
// faces that name materials of a list that holds none (the importer then reads through null), a
// bone weight for a vertex far beyond the mesh (the importer writes there).
TEST_F(HostileFilesTest, MeshClaimingWhatItDoesNotHoldFailsToLoad)
{
    for (const char* name :
         {"crafted-vertex-count-5-GiB.x", "crafted-face-count-80-GiB.x", "crafted-faces-without-materials.x",
          "crafted-skin-weight-beyond-vertices.x"}) {
        SCOPED_TRACE(name);
        fs::path source = fs::path(FUZZ_CORPUS_DIR) / "mesh" / name;
        ASSERT_TRUE(fs::exists(source)) << source;
        fs::copy_file(source, Path("img/back.x"), fs::copy_options::overwrite_existing);
        EXPECT_EQ(LoadBounded([&] { return engine->LoadMesh(0, "back.x", "./img"); }), Outcome::Failed);
    }
}

// The importer reads nested frames by recursion: as deep as the reader allows still loads, on the
// main thread's stack, where the backdrop loads it; deeper fails to load.
TEST_F(HostileFilesTest, MeshNestedInFramesLoadsUpToTheBound)
{
    auto nested = [](int frames) {
        std::string file = "xof 0303txt 0032\n";
        for (int i = 0; i < frames; ++i) {
            file += "Frame {\n";
        }
        file += "Mesh {3;0.0;0.0;0.0;,1.0;0.0;0.0;,0.0;1.0;0.0;;1;3;0,1,2;;}\n";
        for (int i = 0; i < frames; ++i) {
            file += "}\n";
        }
        return file;
    };
    for (auto [frames, outcome] : {std::pair{4095, Outcome::Loaded}, std::pair{5000, Outcome::Failed}}) {
        SCOPED_TRACE(frames);
        std::ofstream(Path("img/deep.x"), std::ios::binary) << nested(frames);
        EXPECT_EQ(LoadBounded([&] { return engine->LoadMesh(0, "deep.x", "./img"); }), outcome);
    }
}

TEST_F(HostileFilesTest, FolderOrPipeInPlaceOfTheMeshFailsToLoadAtOnce)
{
    fs::create_directory(Path("img/folder.x"));
    EXPECT_FALSE(engine->LoadMesh(0, "folder.x", "./img"));
    FifoInPlace pipe(Path("img/pipe.x"));
    ASSERT_TRUE(pipe.Made());
    bool loaded = true;
    EXPECT_TRUE(pipe.ReturnsWithoutBlocking([&] { loaded = engine->LoadMesh(0, "pipe.x", "./img"); }));
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(engine->GetMeshes().empty());
}

}  // namespace
