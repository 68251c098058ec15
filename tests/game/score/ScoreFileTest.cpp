// The score file: loading with every kind of bad file, saving, and saving that fails or is cut
// short before the new file takes the old one's place.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "game/score/ScoreEntry.h"
#include "game/score/ScoreTable.h"
#include "platform/win32/FileReplacement.h"
#include "platform/win32/Win32FileHooks.h"
#include "sealer/WEN_Secret.h"
#include "tests/support/FifoInPlace.h"
#include "tests/support/SpecialFiles.h"

namespace fs = std::filesystem;

namespace {

using Block = std::array<std::uint8_t, ScoreTable::kRankingBytes>;
using Bytes = std::vector<std::uint8_t>;

// Runs each test in a folder of its own as the current folder.
class ScoreFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "score-file-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        fs::current_path(folder_);
    }
    void TearDown() override
    {
        Win32SetMoveFileHook(nullptr);
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }

    fs::path File() const { return folder_ / "sh.dat"; }
    // The temporary file a save by the given process writes.
    fs::path Temporary(pid_t pid = getpid()) const { return folder_ / ("sh.dat.tmp" + std::to_string(pid)); }

    // Names in a folder that a save's temporary files have.
    static std::vector<std::string> Temporaries(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            std::string name = entry.path().filename().string();
            if (name.find(".tmp") != std::string::npos) {
                names.push_back(name);
            }
        }
        return names;
    }

    Bytes ReadFile(const fs::path& path) const
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteFile(const Bytes& bytes) const
    {
        std::ofstream out(File(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // A plain block sealed as the game seals it.
    static Bytes Sealed(Bytes plain)
    {
        Bytes sealed(static_cast<std::size_t>(GetPassLen(static_cast<int>(plain.size()))));
        EXPECT_EQ(SetSecret(plain.data(), static_cast<int>(plain.size()), sealed.data(), 0), 0);
        return sealed;
    }

    // Rankings unlike the defaults in every byte that the defaults set.
    static Bytes CustomRankings()
    {
        Bytes block(ScoreTable::kRankingBytes);
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<std::uint8_t>(i * 37 + 11);
        }
        block[0] = 1;
        block[1] = 1;
        return block;
    }

    static Block Defaults()
    {
        ScoreTable table;
        table.SetDefaults();
        return table.GetRankings();
    }

    static Block Loaded()
    {
        ScoreTable table;
        table.Load();
        return table.GetRankings();
    }

    static Block AsBlock(const Bytes& bytes)
    {
        Block block{};
        std::memcpy(block.data(), bytes.data(), block.size());
        return block;
    }

    fs::path previous_;
    fs::path folder_;
};

TEST_F(ScoreFileTest, DefaultsHoldFourTablesOfTen)
{
    Block block = Defaults();
    EXPECT_EQ(block[0], 1);
    EXPECT_EQ(block[1], 0);
    struct Case {
        int table;
        int entry;
        const char* name;
        std::uint32_t score;
        std::uint32_t count;
    };
    const Case cases[] = {
        {0, 0, "sh0", 10000, 10}, {0, 9, "sh9", 1000, 1}, {1, 4, "sh4", 12000, 12},
        {3, 0, "sh0", 40000, 40}, {3, 9, "sh9", 4000, 4},
    };
    for (const Case& c : cases) {
        ScoreEntry entry;
        std::memcpy(&entry, block.data() + 2 + 200 * c.table + 20 * c.entry, sizeof(entry));
        EXPECT_STREQ(entry.name, c.name);
        // Copies, as the entry's fields are packed and cannot be bound to a reference.
        EXPECT_EQ(+entry.score, c.score);
        EXPECT_EQ(+entry.count, c.count);
        EXPECT_EQ(entry.reserved[0], 0);
        EXPECT_EQ(entry.reserved[1], 0);
    }
}

// The default block as the file format lays it out, written from the format alone: the valid
// flag at 0, then from offset 2 four tables of ten 20-byte entries, each with its name "shN" and
// a NUL at 0, the score at 9 and the count at 13 as little-endian 32-bit words, and 0 elsewhere.
Bytes DefaultBlockOfTheFormat()
{
    Bytes block(802, 0);
    block[0] = 1;
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 10; ++i) {
            std::size_t at = 2 + 200 * t + 20 * i;
            block[at + 0] = 's';
            block[at + 1] = 'h';
            block[at + 2] = static_cast<std::uint8_t>('0' + i);
            std::uint32_t score = (10 - i) * 1000 * (t + 1);
            std::uint32_t count = (10 - i) * (t + 1);
            for (int b = 0; b < 4; ++b) {
                block[at + 9 + b] = static_cast<std::uint8_t>(score >> (8 * b));
                block[at + 13 + b] = static_cast<std::uint8_t>(count >> (8 * b));
            }
        }
    }
    return block;
}

// Another program reads the score file by its byte layout, not by our struct: the defaults, and
// what a save writes of them, must be exactly those bytes.
TEST_F(ScoreFileTest, DefaultBlockHasTheFileFormatsBytes)
{
    const Bytes expected = DefaultBlockOfTheFormat();
    // Table 3's first entry, by hand: 40000 is 0x9C40 and its count 40.
    const std::uint8_t entry30[20] = {'s', 'h', '0', 0, 0, 0, 0, 0, 0, 0x40, 0x9C, 0, 0, 40, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(std::equal(std::begin(entry30), std::end(entry30), expected.begin() + 602));

    Block defaults = Defaults();
    EXPECT_EQ(Bytes(defaults.begin(), defaults.end()), expected);

    ScoreTable table;
    table.Load();  // no file yet: the defaults
    table.Save();
    Bytes sealed = ReadFile(File());
    ASSERT_EQ(sealed.size(), 816u);
    Bytes plain(sealed.size(), 0);
    int length = 0;
    ASSERT_EQ(GetSecret(plain.data(), &length, sealed.data(), static_cast<int>(sealed.size()), 0), 0);
    ASSERT_EQ(length, 802);
    plain.resize(802);
    EXPECT_EQ(plain, expected) << "the file's unsealed content";
}

TEST_F(ScoreFileTest, MissingFileGivesDefaultsThatSaveAndLoadBack)
{
    ScoreTable table;
    table.Load();
    EXPECT_EQ(table.GetRankings(), Defaults());
    EXPECT_FALSE(fs::exists(File()));

    table.Save();
    EXPECT_EQ(fs::file_size(File()), 816u);
    EXPECT_TRUE(Temporaries(folder_).empty());
    EXPECT_EQ(Loaded(), Defaults());
}

TEST_F(ScoreFileTest, ValidFileIsLoadedAndWrittenBackUnchanged)
{
    Bytes custom = CustomRankings();
    WriteFile(Sealed(custom));
    ScoreTable table;
    table.Load();
    EXPECT_EQ(table.GetRankings(), AsBlock(custom));

    table.Save();
    EXPECT_EQ(fs::file_size(File()), 816u);
    EXPECT_EQ(Loaded(), AsBlock(custom));
}

TEST_F(ScoreFileTest, InvalidFilesGiveDefaults)
{
    Bytes good = Sealed(CustomRankings());
    Bytes shorter(good.begin(), good.end() - 1);
    Bytes longer = good;
    longer.push_back(0);
    Bytes badSum = good;
    badSum[816 - 8] ^= 0x01;  // the low nibble of the data's sum in the trailer
    Bytes otherLength = CustomRankings();
    otherLength.pop_back();  // 801 bytes also seal to 816
    Bytes flagsZero(ScoreTable::kRankingBytes, 0x44);
    flagsZero[0] = 0;
    flagsZero[1] = 0;

    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"815 bytes", shorter},
        {"817 bytes", longer},
        {"checksum changed", badSum},
        {"801 bytes sealed", Sealed(otherLength)},
        {"both flags 0", Sealed(flagsZero)},
        {"816 bytes of noise", Bytes(816, 0x99)},
    };
    for (const Case& c : cases) {
        WriteFile(c.file);
        EXPECT_EQ(Loaded(), Defaults()) << c.name;
    }
}

// Something other than a file in the score file's place reads as no file, at once.
TEST_F(ScoreFileTest, FolderOrPipeInPlaceOfTheFileGivesDefaults)
{
    fs::create_directory(File());
    EXPECT_EQ(Loaded(), Defaults()) << "a folder";
    fs::remove(File());

    FifoInPlace pipe(File().string());
    ASSERT_TRUE(pipe.Made());
    Block loaded{};
    EXPECT_TRUE(pipe.ReturnsWithoutBlocking([&] { loaded = Loaded(); })) << "the named pipe was opened and waited on";
    EXPECT_EQ(loaded, Defaults());
}

// Padding bytes carry no data and may change unnoticed; every other changed body byte must
// give the defaults, never damaged rankings.
TEST_F(ScoreFileTest, ChangedDataByteGivesDefaults)
{
    Bytes custom = CustomRankings();
    Bytes good = Sealed(custom);
    int defaults = 0;
    for (std::size_t p = 0; p < 32; ++p) {
        Bytes changed = good;
        changed[p] = static_cast<std::uint8_t>(changed[p] + 1);
        WriteFile(changed);
        Block loaded = Loaded();
        if (loaded == Defaults()) {
            ++defaults;
        } else {
            EXPECT_EQ(loaded, AsBlock(custom)) << "changed at " << p;
        }
    }
    EXPECT_GE(defaults, 32 - 6);  // 816 - 8 - 802 = 6 padding bytes
}

TEST_F(ScoreFileTest, EarlyQuitLeavesTheFileAlone)
{
    ScoreTable neverLoaded;
    neverLoaded.Save();
    EXPECT_FALSE(fs::exists(File()));

    Bytes old = Sealed(CustomRankings());
    WriteFile(old);
    neverLoaded.Save();
    EXPECT_EQ(ReadFile(File()), old);
}

TEST_F(ScoreFileTest, SaveCutShortBeforeTheRenameKeepsTheOldFile)
{
    ScoreTable table;
    table.Load();  // no file: the defaults, which the save will write
    Bytes old = Sealed(CustomRankings());
    WriteFile(old);

    // The program dies right before the rename, as on a crash or power loss.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Win32SetMoveFileHook([](const std::string&, const std::string&) -> bool { _exit(42); });
        table.Save();
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 42);

    EXPECT_EQ(ReadFile(File()), old);
    EXPECT_EQ(fs::file_size(Temporary(child)), 816u);  // the new file was complete, just not in place
    EXPECT_EQ(Loaded(), AsBlock(CustomRankings()));

    // The next save goes through and clears the leftover of the run that died.
    table.Save();
    EXPECT_EQ(Loaded(), Defaults());
    EXPECT_TRUE(Temporaries(folder_).empty());
}

TEST_F(ScoreFileTest, FailedSaveKeepsTheOldFile)
{
    ScoreTable table;
    table.Load();
    Bytes old = Sealed(CustomRankings());
    WriteFile(old);

    Win32SetMoveFileHook([](const std::string&, const std::string&) { return false; });
    table.Save();
    EXPECT_EQ(ReadFile(File()), old);
    EXPECT_TRUE(Temporaries(folder_).empty());
    Win32SetMoveFileHook(nullptr);

    // The temporary file cannot even be created.
    fs::create_directory(Temporary());
    table.Save();
    EXPECT_EQ(ReadFile(File()), old);
}

// A player may keep the score file elsewhere and leave a link to it beside the program: the save
// goes to the file the link names, the link stays, and the file keeps its permissions.
TEST_F(ScoreFileTest, SaveWritesThroughALinkAndKeepsThePermissions)
{
    const fs::path elsewhere = folder_ / "elsewhere";
    fs::create_directory(elsewhere);
    const fs::path target = elsewhere / "scores.dat";
    const Bytes old = Sealed(CustomRankings());
    struct Case {
        const char* name;
        fs::path link;         // what File() links to; empty for no link
        fs::path second;       // a second link in the chain, made to point at target
        bool targetExists;
    };
    const Case cases[] = {
        {"absolute link", target, {}, true},
        {"relative link", "elsewhere/scores.dat", {}, true},
        {"chain of two links", folder_ / "middle.lnk", folder_ / "middle.lnk", true},
        {"link to a file not made yet", target, {}, false},
        {"plain file", {}, {}, true},
    };
    const mode_t mask = umask(022);
    umask(mask);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(File());
        fs::remove(target);
        if (!c.second.empty()) {
            fs::remove(c.second);
            fs::create_symlink(target, c.second);
        }
        const fs::path written = c.link.empty() ? File() : target;
        if (c.targetExists) {
            std::ofstream(written, std::ios::binary).write(reinterpret_cast<const char*>(old.data()), 816);
            ASSERT_EQ(chmod(written.c_str(), 0600), 0);
        }
        if (!c.link.empty()) {
            fs::create_symlink(c.link, File());
        }

        ScoreTable table;
        table.SetDefaults();
        table.Save();

        EXPECT_EQ(fs::is_symlink(File()), !c.link.empty()) << "the link was replaced";
        EXPECT_EQ(ReadFile(written).size(), 816u);
        EXPECT_EQ(Loaded(), Defaults()) << "the save did not reach the file the link names";
        struct stat info{};
        EXPECT_EQ(stat(written.c_str(), &info), 0) << "no file where the link points";
        EXPECT_EQ(info.st_mode & 07777, c.targetExists ? 0600u : (0644u & ~mask));
        EXPECT_TRUE(Temporaries(folder_).empty());
        EXPECT_TRUE(Temporaries(elsewhere).empty());
    }
}

// The temporary name is the saving process's own: whatever an older run or a user left under the
// fixed name cannot stop the save, and the files of runs that ended are cleared.
TEST_F(ScoreFileTest, LeftOversAtTemporaryNamesCannotStopTheSave)
{
    pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) {
        _exit(0);
    }
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    const fs::path fixedName = folder_ / "sh.dat.tmp";
    struct Case {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"a folder at the old fixed name", [&] { fs::create_directory(fixedName); }},
        {"a named pipe at the old fixed name", [&] { ASSERT_EQ(mkfifo(fixedName.c_str(), 0644), 0); }},
        {"the file of a run that ended", [&] { std::ofstream(Temporary(ended)) << "half"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(fixedName);
        WriteFile(Sealed(CustomRankings()));
        c.make();

        ScoreTable table;
        table.SetDefaults();
        table.Save();
        EXPECT_EQ(Loaded(), Defaults()) << "the save was stopped";
        EXPECT_FALSE(fs::exists(Temporary(ended)));
        EXPECT_FALSE(fs::exists(Temporary()));
    }
}

// Loading does not even open what is not a regular file: opening a device can act on it (a
// watchdog starts counting, a tape rewinds), and the score file may be a link to one.
TEST_F(ScoreFileTest, LoadingNeverOpensWhatIsNotARegularFile)
{
    struct Kind {
        const char* name;
        std::function<bool(const fs::path&)> make;
    };
    const Kind kinds[] = {
        {"a named pipe", [](const fs::path& at) { return mkfifo(at.c_str(), 0644) == 0; }},
        {"a character device",
         [](const fs::path& at) { return MakeNullDeviceAt(at); }},
    };
    for (const Kind& kind : kinds) {
        for (bool behindALink : {false, true}) {
            SCOPED_TRACE(std::string(kind.name) + (behindALink ? " behind a link" : " at sh.dat"));
            const fs::path node = behindALink ? folder_ / "node" : File();
            if (!kind.make(node)) {
                ASSERT_NE(geteuid(), 0u) << "could not make it as root";
                continue;
            }
            if (behindALink) {
                fs::create_symlink(node, File());
            }
            int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            ASSERT_GE(watch, 0);
            ASSERT_GE(inotify_add_watch(watch, node.c_str(), IN_OPEN), 0);

            EXPECT_EQ(Loaded(), Defaults());

            alignas(inotify_event) char events[4096];
            EXPECT_LT(read(watch, events, sizeof(events)), 0) << "it was opened";
            close(watch);
            fs::remove(File());
            fs::remove(node);
        }
    }
}

// What is not a regular file, in the score file's place or where its link leads, is never
// replaced: a player who keeps no scores may link the file to the null device, and a save run as
// root must not leave a plain file in the device's place. The save fails quietly and leaves no
// temporary file.
TEST_F(ScoreFileTest, SaveLeavesWhatIsNotARegularFileAlone)
{
    struct Kind {
        const char* name;
        std::function<bool(const fs::path&)> make;  // false when it cannot be made here
    };
    const Kind kinds[] = {
        {"a named pipe", [](const fs::path& at) { return mkfifo(at.c_str(), 0644) == 0; }},
        {"a socket", [](const fs::path& at) { return MakeSocketAt(at); }},
        // The null device's own numbers, made in the test's folder; only root may make a device.
        {"a character device",
         [](const fs::path& at) { return MakeNullDeviceAt(at); }},
        {"a folder", [](const fs::path& at) { return fs::create_directory(at); }},
    };
    const fs::path elsewhere = folder_ / "elsewhere";
    fs::create_directory(elsewhere);
    const Bytes sealed = Sealed(CustomRankings());
    for (const Kind& kind : kinds) {
        for (bool behindALink : {false, true}) {
            SCOPED_TRACE(std::string(kind.name) + (behindALink ? " behind a link" : " at sh.dat"));
            fs::remove_all(File());
            const fs::path node = behindALink ? elsewhere / "node" : File();
            fs::remove_all(node);
            if (!kind.make(node)) {
                ASSERT_NE(geteuid(), 0u) << "could not make it as root";
                continue;  // a device needs root
            }
            if (behindALink) {
                fs::create_symlink(node, File());
            }
            struct stat before{};
            ASSERT_EQ(lstat(node.c_str(), &before), 0);

            ScoreTable table;
            table.SetDefaults();
            table.Save();
            EXPECT_FALSE(ReplaceRegularFile(File().string(), sealed.data(), sealed.size())) << "reported as saved";

            struct stat after{};
            ASSERT_EQ(lstat(node.c_str(), &after), 0) << "it is gone";
            EXPECT_EQ(after.st_mode, before.st_mode) << "it is no longer what it was";
            EXPECT_EQ(after.st_ino, before.st_ino) << "something else stands at its name";
            EXPECT_EQ(after.st_rdev, before.st_rdev);
            EXPECT_EQ(fs::is_symlink(File()), behindALink);
            EXPECT_TRUE(Temporaries(folder_).empty());
            EXPECT_TRUE(Temporaries(elsewhere).empty());
            fs::remove_all(File());
            fs::remove_all(node);
        }
    }
}

}  // namespace
