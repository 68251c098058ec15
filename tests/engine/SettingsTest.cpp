#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "engine/Application.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/support/FifoInPlace.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const fs::path& p, const std::string& text)
{
    std::ofstream out(p, std::ios::binary);
    out << text;
}

// A program folder of its own: the settings file is looked for beside the program.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/settings-XXXXXX";
        folder = mkdtemp(pattern);
        previous = fs::current_path();
        Win32SetModuleFileName(folder.string() + "/brackle");
        std::strcpy(g_appTitle, "Pellmoor");
    }
    void TearDown() override
    {
        fs::current_path(previous);
        Win32SetModuleFileName("");
        fs::remove_all(folder);
    }
    fs::path Ini() const { return folder / "Pellmoor.ini"; }

    fs::path folder;
    fs::path previous;
};

TEST_F(SettingsTest, ReadingRulesPerKey)
{
    struct Case {
        const char* file;  // null: no file at all
        int screenMode, deviceCheck, fog;
    } cases[] = {
        {nullptr, 0, 0, 1},
        {"[MODE]\nSCREEN_MODE=1\nDEVICECHECK=1\nFOG=0\n", 1, 1, 0},
        {"[MODE]\nSCREEN_MODE=2\nDEVICECHECK=-1\nFOG=2\n", 0, 0, 0},
        {"[mode]\nscreen_mode = 1\nFog=1\n", 1, 0, 1},
        {"[MODE]\nSCREEN_MODE=\nFOG=\n", 0, 0, 1},             // empty values give the defaults
        {"[OTHER]\nSCREEN_MODE=1\nFOG=0\n", 0, 0, 1},          // another section
        {"[MODE]\nSCREEN_MODE=1abc\nDEVICECHECK=x\nFOG=+1\n", 1, 0, 1},  // sign and leading digits
        {"[MODE]\r\nSCREEN_MODE=1\r\nFOG=0\r\n", 1, 0, 0},
    };
    for (const Case& c : cases) {
        fs::remove(Ini());
        if (c.file) {
            WriteAll(Ini(), c.file);
        }
        fs::current_path("/");
        LoadSettings();
        EXPECT_EQ(fs::current_path(), folder) << "the program folder becomes current";
        EXPECT_EQ(g_screenMode, c.screenMode) << (c.file ? c.file : "no file");
        EXPECT_EQ(g_deviceCheckMode, c.deviceCheck) << (c.file ? c.file : "no file");
        EXPECT_EQ(g_fogEnabled, c.fog) << (c.file ? c.file : "no file");
    }
}

TEST_F(SettingsTest, SaveWritesTheThreeKeysAndKeepsEveryOtherLine)
{
    WriteAll(Ini(), "; players' notes\n[OTHER]\nA=1\n[MODE]\nFOG=7\nEXTRA=yes\n[LAST]\nB=2\n");
    LoadSettings();
    g_screenMode = 1;
    g_deviceCheckMode = 0;
    g_fogEnabled = 1;
    SaveSettings();
    EXPECT_EQ(ReadAll(Ini()),
              "; players' notes\n[OTHER]\nA=1\n[MODE]\nFOG=1\nEXTRA=yes\nSCREEN_MODE=1\nDEVICECHECK=0\n[LAST]\nB=2\n");
    // No temporary file is left behind.
    int files = 0;
    for (auto& e : fs::directory_iterator(folder)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(SettingsTest, SaveCreatesTheFileInKeyOrder)
{
    LoadSettings();
    g_screenMode = 0;
    g_deviceCheckMode = 1;
    g_fogEnabled = 0;
    SaveSettings();
    EXPECT_EQ(ReadAll(Ini()), "[MODE]\nSCREEN_MODE=0\nDEVICECHECK=1\nFOG=0\n");
}

TEST_F(SettingsTest, PathIsTheProgramFolderInTheProgramsForm)
{
    LoadSettings();
    char path[600];
    GetSettingsFilePath(sizeof(path), path);
    std::string expected = folder.string() + "/Pellmoor.ini";
    for (char& ch : expected) {
        if (ch == '/') {
            ch = '\\';
        }
    }
    EXPECT_EQ(std::string(path), expected);
}

TEST(ProfileTest, WritingKeepsOtherSectionsAndLineEndings)
{
    char pattern[] = "/tmp/profile-XXXXXX";
    fs::path dir = mkdtemp(pattern);
    fs::path file = dir / "a.ini";
    WriteAll(file, "[S]\r\nK=1\r\n[T]\r\nK=2\r\n");
    std::string name = file.string();
    EXPECT_TRUE(WritePrivateProfileStringA("s", "k", "5", name.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("T", "NEW", "x", name.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("U", "Z", "9", name.c_str()));
    EXPECT_EQ(ReadAll(file), "[S]\r\nk=5\r\n[T]\r\nK=2\r\nNEW=x\n[U]\nZ=9\n");
    EXPECT_EQ(GetPrivateProfileIntA("t", "k", 7, name.c_str()), 2u);
    EXPECT_EQ(GetPrivateProfileIntA("T", "MISSING", 7, name.c_str()), 7u);
    EXPECT_EQ(GetPrivateProfileIntA("S", "K", 7, (dir / "none.ini").string().c_str()), 7u);
    // A folder that cannot be written leaves the call failing, not pretending.
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1", "/proc/no/such/file.ini"));
    fs::remove_all(dir);
}

}  // namespace

// What a user can put in the settings file's place: each reads as no file at all.
TEST_F(SettingsTest, UnreadableFileGivesTheDefaultsWithoutWaiting)
{
    struct Case {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"a folder", [&] { fs::create_directory(Ini()); }},
        {"a file far larger than any settings file",
         [&] {
             std::ofstream out(Ini(), std::ios::binary);
             out << "[MODE]\nSCREEN_MODE=1\nFOG=0\n";
             out.seekp(64 << 20);
             out << "\n";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Ini());
        c.make();
        g_screenMode = 1;
        g_fogEnabled = 0;
        EXPECT_NO_THROW(LoadSettings());
        EXPECT_EQ(g_screenMode, 0);
        EXPECT_EQ(g_fogEnabled, 1);
    }
    fs::remove_all(Ini());
    FifoInPlace pipe(Ini().string());
    ASSERT_TRUE(pipe.Made());
    g_screenMode = 1;
    EXPECT_TRUE(pipe.ReturnsWithoutBlocking([] { LoadSettings(); })) << "a named pipe was opened and waited on";
    EXPECT_EQ(g_screenMode, 0);
}

TEST_F(SettingsTest, FileTooLargeToReadIsLeftAsItIs)
{
    {
        std::ofstream out(Ini(), std::ios::binary);
        out << "[MODE]\nSCREEN_MODE=1\n";
        out.seekp(64 << 20);
        out << "\n";
    }
    auto size = fs::file_size(Ini());
    LoadSettings();
    EXPECT_NO_THROW(SaveSettings());
    EXPECT_EQ(fs::file_size(Ini()), size) << "a file that cannot be read is not replaced by three keys";
}

TEST_F(SettingsTest, SavingUnchangedValuesLeavesTheFileUntouched)
{
    WriteAll(Ini(), "; notes\r\n[MODE]\r\nSCREEN_MODE=1\r\nDEVICECHECK=0\r\nFOG=1\r\n");
    LoadSettings();
    struct stat before{};
    ASSERT_EQ(stat(Ini().c_str(), &before), 0);
    SaveSettings();
    struct stat after{};
    ASSERT_EQ(stat(Ini().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was rewritten although nothing changed";

    g_screenMode = 0;
    SaveSettings();
    EXPECT_EQ(ReadAll(Ini()), "; notes\r\n[MODE]\r\nSCREEN_MODE=0\r\nDEVICECHECK=0\r\nFOG=1\r\n");
}

// A run killed while saving leaves its temporary file; the next save removes it, but never the
// temporary file of a copy that is still running.
TEST_F(SettingsTest, SavingRemovesTemporaryFilesOfRunsThatEnded)
{
    pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) {
        _exit(0);
    }
    waitpid(ended, nullptr, 0);
    fs::path stale = folder / ("Pellmoor.ini.tmp" + std::to_string(ended));
    fs::path live = folder / ("Pellmoor.ini.tmp" + std::to_string(getppid()));
    fs::path other = folder / "Pellmoor.ini.tmpnotes";
    for (const fs::path& p : {stale, live, other}) {
        WriteAll(p, "[MODE]\n");
    }
    LoadSettings();
    g_screenMode = 1;
    SaveSettings();
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live)) << "a running process's file is its own";
    EXPECT_TRUE(fs::exists(other)) << "only names the saving itself makes are removed";
}

// A settings file kept elsewhere behind a link: the save goes to the file the link names, the link
// stays, and the file keeps its permissions; a link to a file not made yet makes it.
TEST_F(SettingsTest, SaveWritesThroughALinkAndKeepsThePermissions)
{
    const fs::path elsewhere = folder / "elsewhere";
    fs::create_directory(elsewhere);
    const fs::path target = elsewhere / "my.ini";
    const mode_t mask = umask(022);
    umask(mask);
    struct Case {
        const char* name;
        fs::path link;  // empty: a plain file
        bool targetExists;
    } cases[] = {
        {"absolute link", target, true},
        {"relative link", "elsewhere/my.ini", true},
        {"link to a file not made yet", target, false},
        {"plain file", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Ini());
        fs::remove(target);
        const fs::path written = c.link.empty() ? Ini() : target;
        if (c.targetExists) {
            WriteAll(written, "; mine\n[MODE]\nSCREEN_MODE=0\n");
            ASSERT_EQ(chmod(written.c_str(), 0600), 0);
        }
        if (!c.link.empty()) {
            fs::create_symlink(c.link, Ini());
        }
        LoadSettings();
        g_screenMode = 1;
        SaveSettings();

        EXPECT_EQ(fs::is_symlink(Ini()), !c.link.empty()) << "the link was replaced";
        EXPECT_EQ(ReadAll(written), std::string(c.targetExists ? "; mine\n" : "") +
                                        "[MODE]\nSCREEN_MODE=1\nDEVICECHECK=0\nFOG=1\n");
        struct stat info{};
        EXPECT_EQ(stat(written.c_str(), &info), 0) << "no file where the link points";
        EXPECT_EQ(info.st_mode & 07777, c.targetExists ? 0600u : (0644u & ~mask));
        for (const fs::path& dir : {folder, elsewhere}) {
            for (const auto& entry : fs::directory_iterator(dir)) {
                EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
            }
        }
    }
}
