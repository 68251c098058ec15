#include "tests/fuzz/FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

const std::string& FuzzFolder()
{
    // Never destroyed: the removal at exit runs after the destructors of function statics.
    static const std::string* folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "pellmoor-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::abort();
        }
        auto* made = new std::string(pattern);
        std::atexit([] { std::filesystem::remove_all(FuzzFolder()); });
        return made;
    }();
    return *folder;
}

std::string WriteFuzzInput(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    std::filesystem::path path = std::filesystem::path(FuzzFolder()) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path.string();
}

void FuzzCheck(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}
