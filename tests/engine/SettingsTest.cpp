#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "engine/Application.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32TestHooks.h"

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
