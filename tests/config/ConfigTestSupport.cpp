#include "tests/config/ConfigTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/ConfigApp.h"
#include "platform/mfc/MfcTestHooks.h"
#include "platform/win32/Win32TestHooks.h"

TempFolder::TempFolder()
{
    char pattern[] = "/tmp/config-test-XXXXXX";
    char* made = mkdtemp(pattern);
    path_ = made ? made : "";
}

TempFolder::~TempFolder()
{
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

void IsolateSharedFolder()
{
    static TempFolder folder;
    setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
}

std::optional<std::string> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

ChildRun RunInChild(const std::function<std::string()>& body)
{
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::string report = body();
        ssize_t ignored = write(fds[1], report.data(), report.size());
        (void)ignored;
        close(fds[1]);
        _exit(0);
    }
    close(fds[1]);
    ChildRun run;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof(buffer))) > 0) {
        run.report.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string RunConfigTool(const std::string& folder, const std::function<std::string(CDialog&)>& hook)
{
    Win32SetModuleFileName(folder + "/Config");
    std::string notes;
    MfcSetModalHook([&](CDialog& dialog) { notes += hook(dialog); });
    BOOL result = g_configApp.InitInstance();
    MfcSetModalHook({});
    return notes + "result=" + std::to_string(result);
}

bool IsChecked(CDialog& dialog, int id)
{
    CWnd* item = dialog.GetDlgItem(id);
    return item && SendMessageA(item->m_hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ClickControl(CDialog& dialog, int id)
{
    CWnd* item = dialog.GetDlgItem(id);
    if (item) {
        gtk_button_clicked(GTK_BUTTON(MfcWidgetOf(item->m_hWnd)));
    }
}

void PressKey(CDialog& dialog, unsigned keyValue)
{
    GtkWidget* top = MfcWidgetOf(dialog.m_hWnd);
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(top)));
    event->key.send_event = TRUE;
    event->key.time = GDK_CURRENT_TIME;
    event->key.keyval = keyValue;
    gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gtk_widget_get_display(top))));
    gtk_widget_event(top, event);
    gdk_event_free(event);
}

void CloseDialog(CDialog& dialog)
{
    gtk_window_close(GTK_WINDOW(MfcWidgetOf(dialog.m_hWnd)));
}

bool IterateUntil(const std::function<bool()>& done)
{
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(2000);
        }
    }
    return true;
}
