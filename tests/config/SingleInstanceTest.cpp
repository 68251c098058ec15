// One copy of the tool at a time: a second Config ends with -2 (status 254) after restoring and
// raising the running copy's dialog, and leaves every other window alone.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "config/ConfigApp.h"
#include "platform/win32/Win32HostedWindow.h"
#include "tests/config/ConfigTestSupport.h"
#include "tests/support/XvfbDisplay.h"

namespace {

// The tool copied into a folder of its own, as it ships beside the game.
std::string InstallProgram(const TempFolder& folder)
{
    std::string path = folder.Path() + "/Config";
    std::filesystem::copy_file(CONFIG_PROGRAM, path, std::filesystem::copy_options::overwrite_existing);
    return path;
}

pid_t Start(const std::string& program)
{
    pid_t pid = fork();
    if (pid == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Waits for the process to end; its exit status, or -1 when it did not end normally in time.
int Finish(pid_t pid)
{
    for (int i = 0; i < 1000; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

bool Eventually(const std::function<bool()>& done)
{
    for (int i = 0; i < 1000; ++i) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

LRESULT QuietProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

// A window of this process that records what other processes ask of it.
struct RecordingWindow {
    std::vector<std::string> calls;
    HWND window = nullptr;

    RecordingWindow(const char* property, bool iconic)
    {
        Win32HostCallbacks callbacks;
        callbacks.restore = [this] { calls.push_back("restore"); };
        callbacks.raise = [this] { calls.push_back("raise"); };
        callbacks.minimize = [this] { calls.push_back("minimize"); };
        window = Win32CreateHostedWindow(QuietProc, "window", false, std::move(callbacks));
        SetPropA(window, property, reinterpret_cast<HANDLE>(1));
        Win32SetHostedIconic(window, iconic);
    }
    ~RecordingWindow() { Win32DestroyHostedWindow(window); }
};

// The stacking position of the process's viewable top-level window (higher is nearer the
// viewer), or -1.
int StackingIndex(Display* display, pid_t pid, Window* found = nullptr)
{
    Window root = DefaultRootWindow(display), parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) {
        return -1;
    }
    Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    int index = -1;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable) {
            continue;
        }
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                               &after, &data) == Success && data) {
            if (items == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid) {
                index = static_cast<int>(i);
                if (found) {
                    *found = children[i];
                }
            }
            XFree(data);
        }
    }
    XFree(children);
    return index;
}

int StackingIndexOf(Display* display, Window window)
{
    Window root = DefaultRootWindow(display), parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, root, &root, &parent, &children, &count);
    int index = -1;
    for (unsigned i = 0; i < count; ++i) {
        if (children[i] == window) {
            index = static_cast<int>(i);
        }
    }
    XFree(children);
    return index;
}

}  // namespace

// This process plays the running tool: it holds the instance mutex and shows a window carrying
// the tool's property, beside a window of the game's.
TEST(ConfigSingleInstance, SecondCopyRestoresAndRaisesTheRunningDialogOnly)
{
    struct Case {
        bool iconic;
        std::vector<std::string> expected;
    };
    for (const Case& c : {Case{true, {"restore", "raise"}}, Case{false, {"raise"}}}) {
        SCOPED_TRACE(c.iconic ? "iconic" : "shown");
        IsolateSharedFolder();
        HANDLE mutex = CreateMutexA(nullptr, TRUE, "TamoConfigInstance");
        ASSERT_NE(mutex, nullptr);
        {
            RecordingWindow game("KarnTamoWindow", true);
            RecordingWindow tool("TamoConfigWindow", c.iconic);
            TempFolder folder;
            pid_t second = Start(InstallProgram(folder));
            int status = -1;
            bool served = Eventually([&] {
                Win32PollRemoteRequests();
                if (status < 0) {
                    int s = 0;
                    if (waitpid(second, &s, WNOHANG) == second) {
                        status = WIFEXITED(s) ? WEXITSTATUS(s) : 999;
                    }
                }
                return status >= 0 && tool.calls.size() >= c.expected.size();
            });
            if (status < 0) {
                status = Finish(second);
            }
            EXPECT_TRUE(served);
            EXPECT_EQ(status, 254);
            EXPECT_EQ(tool.calls, c.expected);
            EXPECT_TRUE(game.calls.empty());
            EXPECT_FALSE(IsIconic(tool.window));
            EXPECT_FALSE(ReadFile(folder.Path() + "/Pellmoor.ini").has_value());
        }
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}

TEST(ConfigSingleInstance, SecondProgramRaisesTheFirstProgramsDialog)
{
    IsolateSharedFolder();
    ASSERT_TRUE(XvfbDisplay::Ensure());
    TempFolder folder;
    std::string program = InstallProgram(folder);
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);

    pid_t first = Start(program);
    Window dialog = 0;
    ASSERT_TRUE(Eventually([&] { return StackingIndex(display, first, &dialog) >= 0; }));
    // The dialog has published itself once a second copy can find it.
    ASSERT_TRUE(Eventually([&] {
        bool found = false;
        EnumWindows(
            [](HWND w, LPARAM flag) -> BOOL {
                if (GetPropA(w, "TamoConfigWindow")) {
                    *reinterpret_cast<bool*>(flag) = true;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }));

    // Another window covers the whole screen, above the dialog.
    Window cover = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1280, 1024, 0, 0, 0);
    XMapRaised(display, cover);
    XSync(display, False);
    // The starting dialog may still restack itself; the cover stays above once it has settled.
    int steady = 0;
    ASSERT_TRUE(Eventually([&] {
        if (StackingIndex(display, first) < StackingIndexOf(display, cover)) {
            return ++steady >= 20;
        }
        steady = 0;
        XRaiseWindow(display, cover);
        XSync(display, False);
        return false;
    }));

    pid_t second = Start(program);
    EXPECT_EQ(Finish(second), 254);
    EXPECT_TRUE(Eventually([&] { return StackingIndex(display, first) > StackingIndexOf(display, cover); }));
    EXPECT_EQ(StackingIndex(display, second), -1);

    kill(first, SIGTERM);
    waitpid(first, nullptr, 0);
    XDestroyWindow(display, cover);
    XCloseDisplay(display);
    EXPECT_FALSE(ReadFile(folder.Path() + "/Pellmoor.ini").has_value());
}

// The tool lets go of its single-copy name when its work is done, so that the name is free
// again in the same process.
TEST(ConfigSingleInstance, ToolThatHasEndedLeavesItsNameFree)
{
    IsolateSharedFolder();
    ASSERT_TRUE(XvfbDisplay::Ensure());
    TempFolder folder;
    ChildRun run = RunInChild([&] {
        std::string notes = RunConfigTool(folder.Path(), [](CDialog& dialog) {
            ClickControl(dialog, IDCANCEL);
            return std::string();
        });
        HANDLE name = CreateMutexA(nullptr, TRUE, "TamoConfigInstance");
        notes += GetLastError() == ERROR_ALREADY_EXISTS ? " still held" : " free";
        CloseHandle(name);
        return notes;
    });
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "result=0 free");
}
