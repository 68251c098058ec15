#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/Application.h"
#include "engine/ErrorReporter.h"
#include "engine/ErrorStringId.h"
#include "platform/win32/Win32TestHooks.h"
#include "tests/engine/startup/FailingNothrowNew.h"

namespace {

class WinMainTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The instance name in a registry of this test's own, so that a game that another test
        // runs meanwhile neither holds it nor is raised as the running copy.
        runtime = std::filesystem::temp_directory_path() / ("winmain-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(runtime);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        RegisterProgramStrings();
        Win32SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        Win32SetMessageBoxHook(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(runtime, ignored);
    }

    std::filesystem::path runtime;
    std::vector<std::string> boxes;
};

// Out of memory at the first object: nothing can be reported yet, so the game ends at once with
// 0, opens no window, and leaves the instance name free for the next start.
TEST_F(WinMainTest, ErrorReporterThatCannotBeCreatedEndsWithZeroAndClosesTheMutex)
{
    int result;
    {
        FailingNothrowNew outOfMemory;
        result = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_errorReporter, nullptr);
    EXPECT_EQ(g_mainWindow, nullptr) << "no window was opened";
    EXPECT_TRUE(boxes.empty()) << boxes.front();

    HANDLE again = CreateMutexA(nullptr, TRUE, "KarnTamoInstance");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "the mutex was closed";
    CloseHandle(again);
}

}  // namespace
