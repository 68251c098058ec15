#include <algorithm>
#include <cctype>
#include <unistd.h>

#include "platform/win32/Win32Resources.h"
#include "platform/win32/Win32Sdl.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowRecord.h"
#include "platform/win32/X11WindowManager.h"

namespace win32 {

namespace {

struct WindowClass {
    WNDCLASSA info;
    std::string name;
};

std::vector<WindowClass>& Classes()
{
    static std::vector<WindowClass> classes;
    return classes;
}

std::uint32_t g_nextWindowId = 1;
std::thread::id g_sdlThread;

bool HasCaption(DWORD style)
{
    return (style & WS_CAPTION) == WS_CAPTION;
}

// The window manager of the window's display, where one runs and this thread may wait on it.
X11WindowManager* ManagerOf(HWND window)
{
    return window->sdl && OnVideoThread() ? X11WindowManager::Of(window->sdl) : nullptr;
}

// The frame around the client area as the window manager reports it now (0 where it reports
// none): read from the server, since SDL's copy lags behind until its events are read.
void Borders(HWND window, int* top, int* left, int* bottom, int* right)
{
    *top = *left = *bottom = *right = 0;
    if (!window->sdl || !HasCaption(window->style)) {
        return;
    }
    if (X11WindowManager* manager = ManagerOf(window)) {
        X11WindowManager::Frame frame = manager->FrameOf(window->sdl);
        *top = frame.top;
        *left = frame.left;
        *bottom = frame.bottom;
        *right = frame.right;
    } else if (SDL_GetWindowBordersSize(window->sdl, top, left, bottom, right) != 0) {
        *top = *left = *bottom = *right = 0;
    }
}

// The frame follows the style. While the desktop shows the window full screen it has none
// whatever its style: the style given meanwhile takes effect with the next style change.
void ApplyFrame(HWND window)
{
    if (!window->sdl) {
        return;
    }
    Uint32 flags = SDL_GetWindowFlags(window->sdl);
    bool framed = !(flags & SDL_WINDOW_BORDERLESS);
    if ((flags & SDL_WINDOW_FULLSCREEN) || framed == HasCaption(window->style)) {
        return;
    }
    if (X11WindowManager* manager = ManagerOf(window)) {
        manager->SetBordered(window->sdl, HasCaption(window->style));
    } else {
        SDL_SetWindowBordered(window->sdl, HasCaption(window->style) ? SDL_TRUE : SDL_FALSE);
    }
}

void ShowSdlWindow(HWND window, int command)
{
    // SDL waits for a window it maps until the window manager has mapped it, with no bound: the
    // window is mapped first, so that SDL finds it shown.
    if (command != SW_HIDE) {
        if (X11WindowManager* manager = ManagerOf(window)) {
            manager->Map(window->sdl);
        }
    }
    switch (command) {
    case SW_HIDE:
        SDL_HideWindow(window->sdl);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        SDL_ShowWindow(window->sdl);
        SDL_MinimizeWindow(window->sdl);
        break;
    case SW_RESTORE:
        SDL_ShowWindow(window->sdl);
        SDL_RestoreWindow(window->sdl);
        break;
    default:
        SDL_ShowWindow(window->sdl);
        break;
    }
}

}  // namespace

bool EnsureSdlVideo()
{
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        // Without a display SDL falls back on drivers that draw into memory: a window there is
        // one nobody sees. Only a driver asked for by name (SDL_VIDEODRIVER) may be one of them.
        const char* asked = SDL_getenv("SDL_VIDEODRIVER");
        if (ok && !(asked && *asked)) {
            const char* driver = SDL_GetCurrentVideoDriver();
            if (!driver || SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) {
                SDL_QuitSubSystem(SDL_INIT_VIDEO);
                ok = false;
            }
        }
        g_sdlThread = std::this_thread::get_id();
    });
    return ok;
}

bool OnVideoThread()
{
    return g_sdlThread == std::this_thread::get_id();
}

std::string UpperCase(const char* text)
{
    std::string s = text ? text : "";
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

}  // namespace win32

using namespace win32;

SDL_Window* Win32GetSdlWindow(HWND window)
{
    return Local(window) ? window->sdl : nullptr;
}

bool Win32EnsureSdlVideo()
{
    return EnsureSdlVideo();
}

ATOM RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
        return 0;
    }
    std::lock_guard lock(WindowMutex());
    std::string name = UpperCase(windowClass->lpszClassName);
    for (auto& c : Classes()) {
        if (c.name == name) {
            return 0;  // already registered
        }
    }
    Classes().push_back({*windowClass, name});
    return static_cast<ATOM>(0xC000 + Classes().size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE, LPVOID)
{
    WNDPROC proc = nullptr;
    {
        std::lock_guard lock(WindowMutex());
        std::string name = UpperCase(className);
        for (auto& c : Classes()) {
            if (c.name == name) {
                proc = c.info.lpfnWndProc;
            }
        }
    }
    if (!proc || !EnsureSdlVideo()) {
        return nullptr;
    }
    if (width == CW_USEDEFAULT) {
        width = 640;
    }
    if (height == CW_USEDEFAULT) {
        height = 480;
    }
    int px = (x == CW_USEDEFAULT) ? SDL_WINDOWPOS_UNDEFINED : x;
    int py = (x == CW_USEDEFAULT) ? SDL_WINDOWPOS_UNDEFINED : y;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!HasCaption(style)) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    // An OpenGL-capable window, so that the graphics device can draw into it, with the 24-bit
    // depth and 8-bit stencil buffer its back buffers have; drivers without OpenGL (the dummy
    // driver of headless tests) still get a plain window.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_Window* sdl = SDL_CreateWindow(windowName ? windowName : "", px, py, std::max(width, 1),
                                       std::max(height, 1), flags | SDL_WINDOW_OPENGL);
    if (!sdl) {
        sdl = SDL_CreateWindow(windowName ? windowName : "", px, py, std::max(width, 1), std::max(height, 1),
                               flags);
    }
    if (!sdl) {
        return nullptr;
    }
    HWND window = NewWindowRecord();
    window->sdl = sdl;
    window->proc = proc;
    window->style = style & ~WS_VISIBLE;
    window->className = className;
    window->title = windowName ? windowName : "";
    window->owner = std::this_thread::get_id();
    {
        std::lock_guard lock(WindowMutex());
        window->id = g_nextWindowId++;
        LocalWindows().push_back(window);
    }
    proc(window, WM_CREATE, 0, 0);
    if (style & WS_VISIBLE) {
        ShowWindow(window, SW_SHOW);
    }
    return window;
}

BOOL IsWindow(HWND window)
{
    std::lock_guard lock(WindowMutex());
    if (!window) {
        return FALSE;
    }
    if (window->remote) {
        return TRUE;
    }
    return std::find(LocalWindows().begin(), LocalWindows().end(), window) != LocalWindows().end();
}

BOOL DestroyWindow(HWND window)
{
    if (!IsWindow(window) || window->remote || window->destroyed) {
        return FALSE;
    }
    if (ActiveWindow() == window) {
        Deactivate(window, false);
    }
    if (window->proc) {
        window->proc(window, WM_DESTROY, 0, 0);
    }
    std::lock_guard lock(WindowMutex());
    if (window->destroyed) {
        return TRUE;  // destroyed again from inside its own WM_DESTROY
    }
    window->destroyed = true;
    UnpublishWindow(window);
    auto& windows = LocalWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
    if (window->sdl) {
        SDL_DestroyWindow(window->sdl);
        window->sdl = nullptr;
    }
    return TRUE;  // the record stays, as every record does
}

BOOL ShowWindow(HWND window, int command)
{
    if (window && window->remote) {
        if (command == SW_RESTORE) {
            SendRemoteRequest(window->remotePid, window->remoteId, "restore");
        } else if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED) {
            SendRemoteRequest(window->remotePid, window->remoteId, "minimize");
        }
        return TRUE;
    }
    if (!Local(window)) {
        return FALSE;
    }
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    if (window->host) {
        ShowHostedWindow(window, command);
    } else {
        ShowSdlWindow(window, command);
    }
    // The record, whoever owns the surface.
    switch (command) {
    case SW_HIDE:
        window->visible = false;
        window->style &= ~WS_VISIBLE;
        Deactivate(window, false);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        window->visible = true;
        window->iconic = true;
        window->style |= WS_VISIBLE | WS_MINIMIZE;
        PublishWindow(window);
        Deactivate(window, true);
        break;
    case SW_RESTORE:
        window->visible = true;
        window->iconic = false;
        window->style = (window->style | WS_VISIBLE) & ~WS_MINIMIZE;
        PublishWindow(window);
        Activate(window);
        break;
    default:
        window->visible = true;
        window->style |= WS_VISIBLE;
        // A top-level window that is shown becomes the active one.
        Activate(window);
        break;
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND window)
{
    if (!Local(window)) {
        return FALSE;
    }
    if (window->proc && window->visible) {
        window->proc(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    if (!Local(window) || !rect) {
        return FALSE;
    }
    if (window->host) {
        return HostedClientRect(window, rect);
    }
    int w = 0, h = 0;
    SDL_GetWindowSize(window->sdl, &w, &h);
    *rect = {0, 0, w, h};
    return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect)
{
    if (!Local(window) || !rect) {
        return FALSE;
    }
    int x = 0, y = 0, w = 0, h = 0, top, left, bottom, right;
    SDL_GetWindowPosition(window->sdl, &x, &y);
    SDL_GetWindowSize(window->sdl, &w, &h);
    Borders(window, &top, &left, &bottom, &right);
    *rect = {x - left, y - top, x + w + right, y + h + bottom};
    return TRUE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (!Local(window)) {
        return FALSE;
    }
    int top, left, bottom, right;
    Borders(window, &top, &left, &bottom, &right);
    // SDL places and sizes the client area: the outer rectangle less the frame.
    SDL_Rect client{x + left, y + top, std::max(cx - left - right, 1), std::max(cy - top - bottom, 1)};
    bool size = !(flags & SWP_NOSIZE), move = !(flags & SWP_NOMOVE);
    if (X11WindowManager* manager = ManagerOf(window)) {
        manager->Place(window->sdl, client, move, size);
    } else {
        if (size) {
            SDL_SetWindowSize(window->sdl, client.w, client.h);
        }
        if (move) {
            SDL_SetWindowPosition(window->sdl, client.x, client.y);
        }
    }
    if (!(flags & SWP_NOZORDER) && insertAfter == HWND_NOTOPMOST) {
        SDL_SetWindowAlwaysOnTop(window->sdl, SDL_FALSE);
    }
    if (flags & SWP_SHOWWINDOW) {
        SDL_ShowWindow(window->sdl);
        window->visible = true;
        window->style |= WS_VISIBLE;
    }
    return TRUE;
}

LONG GetWindowLongA(HWND window, int index)
{
    if (!Local(window) || index != GWL_STYLE) {
        return 0;
    }
    return static_cast<LONG>(window->style | (window->visible ? WS_VISIBLE : 0u));
}

LONG SetWindowLongA(HWND window, int index, LONG value)
{
    if (!Local(window) || index != GWL_STYLE) {
        return 0;
    }
    LONG previous = GetWindowLongA(window, index);
    DWORD style = static_cast<DWORD>(value);
    window->style = style;
    ApplyFrame(window);
    if ((style & WS_VISIBLE) && !window->visible) {
        SDL_ShowWindow(window->sdl);
        window->visible = true;
    } else if (!(style & WS_VISIBLE) && window->visible) {
        SDL_HideWindow(window->sdl);
        window->visible = false;
    }
    return previous;
}

int GetSystemMetrics(int index)
{
    if (index == SM_CXICON || index == SM_CYICON) {
        return 32;  // the size icons are drawn at
    }
    if (!EnsureSdlVideo()) {
        return 0;
    }
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return 0;
    }
    switch (index) {
    case SM_CXSCREEN:
        return mode.w;
    case SM_CYSCREEN:
        return mode.h;
    default:
        return 0;
    }
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE) {
        DestroyWindow(window);
    }
    return 0;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Local(window) || !window->proc) {
        return 0;
    }
    return window->proc(window, message, wParam, lParam);
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name)
{
    // Icons of the program are numbered resources; the system's own come with no instance.
    if (instance != nullptr) {
        return FindIconResource(name);
    }
    if (name == IDI_APPLICATION) {
        return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(32512));
    }
    return nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    if (instance == nullptr && name == IDC_ARROW) {
        return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(32512));
    }
    return nullptr;
}

HGDIOBJ GetStockObject(int object)
{
    // Stock objects are fixed tokens: the window layer paints its own background.
    static int tokens[8];
    if (object < 0 || object >= 8) {
        return nullptr;
    }
    return &tokens[object];
}

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data)
{
    if (!Local(window) || !name) {
        return FALSE;
    }
    std::lock_guard lock(WindowMutex());
    window->props[UpperCase(name)] = data;
    PublishWindow(window);
    return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name)
{
    if (!window || !name) {
        return nullptr;
    }
    std::lock_guard lock(WindowMutex());
    auto it = window->props.find(UpperCase(name));
    return it == window->props.end() ? nullptr : it->second;
}

BOOL IsIconic(HWND window)
{
    if (!window) {
        return FALSE;
    }
    if (window->remote) {
        for (auto& info : ListRemoteWindows()) {
            if (info.pid == window->remotePid && info.id == window->remoteId) {
                return info.iconic ? TRUE : FALSE;
            }
        }
        return FALSE;
    }
    return window->iconic ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND window)
{
    if (window && window->remote) {
        return SendRemoteRequest(window->remotePid, window->remoteId, "raise") ? TRUE : FALSE;
    }
    if (!Local(window)) {
        return FALSE;
    }
    if (window->host) {
        return RaiseHostedWindow(window);
    }
    SDL_RaiseWindow(window->sdl);
    Activate(window);
    return TRUE;
}

HWND GetLastActivePopup(HWND window)
{
    // No window of the program owns pop-ups of its own.
    return window;
}

HWND GetForegroundWindow()
{
    return ActiveWindow();
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam)
{
    if (!callback) {
        return FALSE;
    }
    std::vector<HWND> windows;
    {
        std::lock_guard lock(WindowMutex());
        windows = LocalWindows();
    }
    // Windows of other processes are seen through what they published; their records are kept
    // for the process's life so that a handle handed out stays valid.
    static std::map<std::pair<pid_t, std::uint32_t>, HWND> remotes;
    for (auto& info : ListRemoteWindows()) {
        std::lock_guard lock(WindowMutex());
        HWND& w = remotes[{info.pid, info.id}];
        if (!w) {
            w = NewWindowRecord();
            w->remote = true;
            w->remotePid = info.pid;
            w->remoteId = info.id;
        }
        w->props = info.props;
        w->iconic = info.iconic;
        windows.push_back(w);
    }
    for (HWND w : windows) {
        if (!callback(w, lParam)) {
            break;
        }
    }
    return TRUE;
}
