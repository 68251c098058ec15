// Where the box program beside the module cannot show a box, the message still reaches the user:
// SDL's box, and where there is no display at all, standard error. The program is always asked
// first, with the caption and the text as they are.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "platform/win32/Win32.h"
#include "platform/win32/Win32TestHooks.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteProgram(const fs::path& path, const std::string& body, fs::perms perms)
{
    std::ofstream(path) << "#!/bin/sh\n"
                           "printf '%s\\n%s\\n' \"$1\" \"$2\" > \"$(dirname \"$0\")/asked\"\n"
                        << body << "\n";
    fs::permissions(path, perms);
}

// What MessageBoxA wrote to standard error while it ran.
std::string ErrorsOf(const fs::path& file, const std::function<void()>& call)
{
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO);
    int out = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, STDERR_FILENO);
    close(out);
    call();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    return Read(file);
}

struct Setting {
    const char* what;
    std::function<void(const fs::path& program)> make;
    bool asked;  // the program ran and was given the caption and the text
};

TEST(MessageBoxFallbackTest, WithoutABoxFromTheProgramTheMessageReachesStandardError)
{
    const auto runnable = fs::perms::owner_all;
    const auto notRunnable = fs::perms::owner_read | fs::perms::owner_write;
    const Setting settings[] = {
        {"no program there", [](const fs::path&) {}, false},
        {"a folder of that name", [](const fs::path& p) { fs::create_directory(p); }, false},
        {"a pipe of that name", [](const fs::path& p) { mkfifo(p.c_str(), 0755); }, false},
        {"a file that may not be run", [&](const fs::path& p) { WriteProgram(p, "exit 0", notRunnable); }, false},
        {"a program that finds no display", [&](const fs::path& p) { WriteProgram(p, "exit 3", runnable); }, true},
        {"a program that dies", [&](const fs::path& p) { WriteProgram(p, "kill -KILL $$", runnable); }, true},
        {"a program that ends without an answer", [&](const fs::path& p) { WriteProgram(p, "exit 0", runnable); }, true},
        {"the box program itself, through a link",
         [](const fs::path& p) { fs::create_symlink(MESSAGE_BOX_FOLDER "/MessageBox", p); }, false},
    };
    // No display for the program nor for SDL's box.
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    const std::string text = "ファイルのロードに失敗しました。もう一度立ち上げれば成功するかも。 : -- img/shot.bmp";
    for (const Setting& s : settings) {
        SCOPED_TRACE(s.what);
        char pattern[] = "/tmp/message-box-fallback-XXXXXX";
        fs::path folder = mkdtemp(pattern);
        s.make(folder / "MessageBox");
        Win32SetModuleFileName((folder / "brackle").string());
        int result = 0;
        std::string errors =
            ErrorsOf(folder / "errors.txt", [&] { result = MessageBoxA(nullptr, text.c_str(), "エラー", MB_OK); });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(errors, "エラー: " + text + "\n");
        if (s.asked) {
            EXPECT_EQ(Read(folder / "asked"), "エラー\n" + text + "\n") << "the program was asked first";
        }
        fs::remove_all(folder);
    }
    Win32SetModuleFileName("");
    if (!display.empty()) {
        setenv("DISPLAY", display.c_str(), 1);
    }
}

}  // namespace
