// Stands in for libFuzzer where the compiler has none: runs every input file named, or every file
// in a folder named, once through the target. An input that cannot be read fails the replay rather
// than running as an empty one, so a target that moved the process away from a relative path is
// caught here too.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/FuzzSupport.h"

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg = argv[i];
        if (arg.string().rfind("-", 0) == 0) {
            continue;
        }
        std::vector<std::filesystem::path> files;
        std::error_code error;
        if (std::filesystem::is_directory(arg, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file(error)) {
                    files.push_back(entry.path());
                }
            }
        } else {
            files.push_back(arg);
        }
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (!in.is_open() || in.bad()) {
                std::fprintf(stderr, "cannot read the input %s\n", file.c_str());
                return 1;
            }
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++runs;
        }
    }
    std::printf("%d inputs replayed\n", runs);
    return runs > 0 ? 0 : 1;
}
