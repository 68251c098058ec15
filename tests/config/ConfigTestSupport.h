#pragma once
// Helpers of the configuration tool's tests: a private folder for the program and the settings
// file, a private folder for the cross-process window registry, and runs of the tool's
// InitInstance in a child process (the instance mutex lives as long as the process).
#include <functional>
#include <optional>
#include <string>

class CDialog;

// A fresh folder under /tmp, removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Points the window layer's shared folder (named mutexes, published windows) at a private
// folder, so that tests running side by side never see each other. Call before anything else.
void IsolateSharedFolder();

std::optional<std::string> ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

struct ChildRun {
    int exitCode = -1;      // -1 when the child did not end normally
    std::string report;     // what the child's body returned
};
// Runs body in a forked child and waits for it; the child ends with _exit(0).
ChildRun RunInChild(const std::function<std::string()>& body);

// In a child: runs g_configApp.InitInstance as the program in folder, with the hook driving the
// dialogs; returns the hook's notes followed by "result=<InitInstance's result>".
std::string RunConfigTool(const std::string& folder, const std::function<std::string(CDialog&)>& hook);

// The check state of a control of the dialog (BM_GETCHECK).
bool IsChecked(CDialog& dialog, int id);
// Clicks a control the way GTK reports a click (state change and "clicked").
void ClickControl(CDialog& dialog, int id);
// A key press on the dialog's window (a GDK key value), as the keyboard delivers it.
void PressKey(CDialog& dialog, unsigned keyValue);
// Asks the dialog's window to close, as its close button does.
void CloseDialog(CDialog& dialog);
// Runs the GTK main loop until done() or until about 10 s have passed; the result of done().
bool IterateUntil(const std::function<bool()>& done);
