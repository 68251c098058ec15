// The tool's reading and writing of the settings file, through its dialog: what each file shows,
// and what OK, cancel and closing leave in the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigApp.h"
#include "config/Resource.h"
#include "platform/mfc/MfcTestHooks.h"
#include "tests/config/ConfigTestSupport.h"
#include "tests/support/XvfbDisplay.h"

namespace {

enum class Ending { Ok, Cancel, Close, Escape, Enter };

struct SettingsCase {
    const char* name;
    std::optional<std::string> file;  // the settings file before the run; none when absent
    std::vector<int> clicks;          // controls clicked, in order, before the ending
    Ending ending;
    const char* shown;                // the check states shown: window, full screen, device check, fog
    std::optional<std::string> after; // the file after the run; the file before when absent
};

const SettingsCase kCases[] = {
    {"no file shows the defaults and OK creates the three keys in order", std::nullopt, {}, Ending::Ok, "1001",
     "[MODE]\nSCREEN_MODE=0\nDEVICECHECK=0\nFOG=1\n"},
    {"screen mode 2 shows full screen and OK writes 1", "[MODE]\nSCREEN_MODE=2\nDEVICECHECK=0\nFOG=1\n", {},
     Ending::Ok, "0101", "[MODE]\nSCREEN_MODE=1\nDEVICECHECK=0\nFOG=1\n"},
    {"fog 5 shows fog checked and OK writes 1", "[MODE]\nSCREEN_MODE=0\nDEVICECHECK=0\nFOG=5\n", {}, Ending::Ok,
     "1001", "[MODE]\nSCREEN_MODE=0\nDEVICECHECK=0\nFOG=1\n"},
    {"fog 0 and device check 1 are shown as stored", "[MODE]\nSCREEN_MODE=1\nDEVICECHECK=1\nFOG=0\n", {},
     Ending::Ok, "0110", "[MODE]\nSCREEN_MODE=1\nDEVICECHECK=1\nFOG=0\n"},
    {"empty values take the defaults", "[MODE]\nSCREEN_MODE=\nDEVICECHECK=\nFOG=\n", {}, Ending::Ok, "1001",
     "[MODE]\nSCREEN_MODE=0\nDEVICECHECK=0\nFOG=1\n"},
    {"cancel leaves a file with missing keys as it was", "; kept\r\n[MODE]\r\nFOG=0\r\n", {IDC_RADIO_FULLSCREEN},
     Ending::Cancel, "1000", std::nullopt},
    {"closing leaves the file as it was", "[MODE]\nSCREEN_MODE=1\n", {IDC_CHECK_FOG, IDC_CHECK_DEVICECHECK},
     Ending::Close, "0101", std::nullopt},
    {"escape is cancel", "[MODE]\nSCREEN_MODE=1\nDEVICECHECK=1\nFOG=0\n", {IDC_RADIO_WINDOW}, Ending::Escape,
     "0110", std::nullopt},
    {"enter away from the buttons is OK", "[MODE]\nFOG=0\n", {IDC_CHECK_FOG}, Ending::Enter, "1000",
     "[MODE]\nFOG=1\nSCREEN_MODE=0\nDEVICECHECK=0\n"},
    {"cancel without a file creates none", std::nullopt, {IDC_CHECK_FOG}, Ending::Cancel, "1001", std::nullopt},
    {"other sections and keys survive an OK", "[OTHER]\nA=1\n[MODE]\nX=7\nFOG=0\n[LAST]\nB=2\n", {}, Ending::Ok,
     "1000", "[OTHER]\nA=1\n[MODE]\nX=7\nFOG=0\nSCREEN_MODE=0\nDEVICECHECK=0\n[LAST]\nB=2\n"},
    {"clicks change what OK writes", std::nullopt, {IDC_RADIO_FULLSCREEN, IDC_CHECK_DEVICECHECK, IDC_CHECK_FOG},
     Ending::Ok, "1001", "[MODE]\nSCREEN_MODE=1\nDEVICECHECK=1\nFOG=0\n"},
    {"the last radio clicked wins", "[MODE]\nSCREEN_MODE=1\n", {IDC_RADIO_WINDOW, IDC_RADIO_FULLSCREEN, IDC_RADIO_WINDOW},
     Ending::Ok, "0101", "[MODE]\nSCREEN_MODE=0\nDEVICECHECK=0\nFOG=1\n"},
    {"a check box clicked twice is as it was", "[MODE]\nDEVICECHECK=1\n", {IDC_CHECK_DEVICECHECK, IDC_CHECK_DEVICECHECK},
     Ending::Ok, "1011", "[MODE]\nDEVICECHECK=1\nSCREEN_MODE=0\nFOG=1\n"},
};

std::string Shown(CDialog& dialog)
{
    std::string s;
    for (int id : {IDC_RADIO_WINDOW, IDC_RADIO_FULLSCREEN, IDC_CHECK_DEVICECHECK, IDC_CHECK_FOG}) {
        s += IsChecked(dialog, id) ? '1' : '0';
    }
    return s;
}

}  // namespace

TEST(ConfigSettings, DialogShowsAndWritesTheSettingsFile)
{
    IsolateSharedFolder();
    ASSERT_TRUE(XvfbDisplay::Ensure());
    for (const SettingsCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        std::string ini = folder.Path() + "/Pellmoor.ini";
        if (c.file) {
            WriteFile(ini, *c.file);
        }
        ChildRun run = RunInChild([&] {
            return RunConfigTool(folder.Path(), [&](CDialog& dialog) {
                std::string notes = "shown=" + Shown(dialog) + "\n";
                for (int id : c.clicks) {
                    ClickControl(dialog, id);
                }
                switch (c.ending) {
                case Ending::Ok: ClickControl(dialog, IDOK); break;
                case Ending::Cancel: ClickControl(dialog, IDCANCEL); break;
                case Ending::Close: CloseDialog(dialog); break;
                case Ending::Escape: PressKey(dialog, GDK_KEY_Escape); break;
                case Ending::Enter: PressKey(dialog, GDK_KEY_Return); break;
                }
                return notes;
            });
        });
        ASSERT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.report, std::string("shown=") + c.shown + "\nresult=0");
        EXPECT_EQ(ReadFile(ini), c.after ? c.after : c.file);
    }
}

// The program's folder is found however long its path is: a path past 260 characters still puts
// the settings file beside the program.
TEST(ConfigSettings, ProgramDeepInALongPathKeepsItsSettingsBesideIt)
{
    IsolateSharedFolder();
    ASSERT_TRUE(XvfbDisplay::Ensure());
    TempFolder base;
    std::string folder = base.Path();
    while (folder.size() < 400) {
        folder += "/" + std::string(60, 'd');
        ASSERT_TRUE(std::filesystem::create_directory(folder));
    }
    ChildRun run = RunInChild([&] {
        return RunConfigTool(folder, [](CDialog& dialog) {
            ClickControl(dialog, IDC_RADIO_FULLSCREEN);
            ClickControl(dialog, IDOK);
            return std::string();
        });
    });
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(ReadFile(folder + "/Pellmoor.ini"),
              std::optional<std::string>("[MODE]\nSCREEN_MODE=1\nDEVICECHECK=0\nFOG=1\n"));
}
