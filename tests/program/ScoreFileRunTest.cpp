// The score file across runs of the program: written on quitting, read at the next start.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/win32/Win32.h"
#include "sealer/WEN_Secret.h"
#include "tests/program/ProgramRun.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Plays a short session: start, let the loading scene begin, quit with Esc.
void StartAndQuit(ProgramRun& run)
{
    pid_t pid = run.Start();
    ASSERT_GT(pid, 0);
    ASSERT_NE(ProgramRun::WaitForGameWindow(), nullptr);
    // The first frames enter the loading scene, which reads the score file.
    ASSERT_TRUE(ProgramRun::WaitForFirstPicture());
    int status = run.QuitWithEscape(pid);
    ASSERT_EQ(status, 1);
}

// The unsealed 802-byte block of the score file, or empty when it does not open.
Bytes Unsealed(const Bytes& file)
{
    Bytes plain(file.size());
    int len = 0;
    Bytes sealed = file;
    if (file.empty() || GetSecret(plain.data(), &len, sealed.data(), static_cast<int>(sealed.size()), 0) != 0 ||
        len != 802) {
        return {};
    }
    plain.resize(802);
    return plain;
}

TEST(ScoreFileRunTest, QuittingWritesTheFileAndTheNextStartReadsItBack)
{
    ProgramRun run;
    const auto file = run.Folder() / "sh.dat";

    StartAndQuit(run);
    Bytes first = ReadAll(file);
    ASSERT_EQ(first.size(), 816u);
    Bytes defaults = Unsealed(first);
    ASSERT_EQ(defaults.size(), 802u);
    EXPECT_EQ(defaults[0], 1);
    EXPECT_EQ(defaults[1], 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(defaults.data() + 2), "sh0");

    // Rankings of the player's own are read at start and written back as they were.
    Bytes own = defaults;
    std::memcpy(own.data() + 2, "ace", 4);
    Bytes sealed(816);
    ASSERT_EQ(SetSecret(own.data(), 802, sealed.data(), 0), 0);
    WriteAll(file, sealed);
    StartAndQuit(run);
    EXPECT_EQ(Unsealed(ReadAll(file)), own);

    // A damaged file gives the defaults, written at the end of the run.
    WriteAll(file, Bytes(815, 0x11));
    StartAndQuit(run);
    EXPECT_EQ(Unsealed(ReadAll(file)), defaults);
}

}  // namespace
