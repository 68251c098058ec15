#pragma once
// The window layer's own record behind an HWND, and the process's window registry.
#include <SDL.h>
#include <sys/types.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Win32Window.h"

struct Win32HostCallbacks;

struct Win32Window {
    std::uint32_t id = 0;              // process-local window id
    bool remote = false;               // a window of another process, seen through the registry
    pid_t remotePid = 0;
    std::uint32_t remoteId = 0;

    SDL_Window* sdl = nullptr;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    std::string className;
    std::string title;
    std::map<std::string, HANDLE> props;  // names upper-cased: property names ignore case
    bool iconic = false;
    bool visible = false;
    bool destroyed = false;
    std::thread::id owner;

    std::shared_ptr<Win32HostCallbacks> host;  // set when another toolkit owns the surface
    bool child = false;                        // a hosted control: never enumerated or published
};

namespace win32 {

// Guards the registry and every local window record.
std::recursive_mutex& WindowMutex();
// A new, empty window record. Every record is kept for the process's life, also through exit:
// a stale HWND must read as "no window", never as freed memory.
HWND NewWindowRecord();
// Live local windows in creation order.
std::vector<HWND>& LocalWindows();
// The window when it is a live window of this process, else null.
HWND Local(HWND window);
// The local window that owns an SDL window id, or null.
HWND FindBySdlId(std::uint32_t sdlWindowId);

// SDL video, initialised once on first use; false when no video driver can start.
bool EnsureSdlVideo();
// Whether this is the thread that started SDL video, the one that may read its events.
bool OnVideoThread();

// Activation: the window that has the focus gets WM_ACTIVATE as Windows sends it.
void Activate(HWND window);
void Deactivate(HWND window, bool minimized);
HWND ActiveWindow();

// Reads pending SDL events and cross-process requests into messages (window thread only).
void PumpEvents();

// Cross-process publication of windows that carry properties.
void PublishWindow(HWND window);
void UnpublishWindow(HWND window);
struct RemoteWindowInfo {
    pid_t pid;
    std::uint32_t id;
    bool iconic;
    std::map<std::string, HANDLE> props;
};
std::vector<RemoteWindowInfo> ListRemoteWindows();
bool SendRemoteRequest(pid_t pid, std::uint32_t id, const std::string& command);
// Reads one request for this process; false when none waits.
bool ReceiveRemoteRequest(std::uint32_t* id, std::string* command);
// The folder shared by the processes of this user: a folder of the user's own that nobody else
// may write to, or empty when none can be had (nothing is shared then).
std::string SharedFolder();
// A name in that folder; empty when there is no folder, so that nothing lands anywhere else.
std::string InSharedFolder(const std::string& name);

std::string UpperCase(const char* text);

// Hosted windows (Win32HostedWindow.h): what the window calls do for them.
// The toolkit shows, hides, minimises or restores the surface; ShowWindow keeps the record.
void ShowHostedWindow(HWND window, int command);
BOOL RaiseHostedWindow(HWND window);
BOOL HostedClientRect(HWND window, RECT* rect);

}  // namespace win32
