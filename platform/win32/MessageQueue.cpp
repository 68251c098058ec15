#include "platform/win32/MessageQueue.h"

#include <SDL.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "platform/win32/WaitSignal.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32HostedWindow.h"
#include "platform/win32/Win32TestHooks.h"
#include "platform/win32/WindowRecord.h"

namespace win32 {

namespace {

struct ThreadQueue {
    std::deque<MSG> messages;
    bool quitPosted = false;
    int quitCode = 0;
};

// Events that the window system delivers by sending (activation, close button), queued by
// tests and handed to the window procedure by the next pump.
struct SystemEvent {
    HWND window;
    enum Kind { Activate, Deactivate, Close } kind;
};

std::mutex g_queueMutex;
std::map<std::thread::id, ThreadQueue> g_queues;
std::deque<SystemEvent> g_systemEvents;
BYTE g_keyState[256];

ThreadQueue& QueueOf(std::thread::id thread)
{
    return g_queues[thread];
}

int VirtualKeyOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return VK_F1 + (key - SDLK_F1);
    }
    switch (key) {
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_MENU;
    default: return 0;
    }
}

void PostKey(HWND window, int vk, bool down, bool repeat)
{
    if (!window || vk == 0) {
        return;
    }
    MSG msg{};
    msg.hwnd = window;
    msg.message = down ? WM_KEYDOWN : WM_KEYUP;
    msg.wParam = static_cast<WPARAM>(vk);
    // Repeat count 1; bit 30 the previous key state, bit 31 the transition.
    LPARAM lParam = 1;
    if (repeat || !down) {
        lParam |= LPARAM(1) << 30;
    }
    if (!down) {
        lParam |= LPARAM(1) << 31;
    }
    msg.lParam = lParam;
    msg.time = CurrentClock().NowMs();
    PostToThread(window->owner, msg);
}

void HandleSdlEvent(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        PostKey(FindBySdlId(e.key.windowID), VirtualKeyOf(e.key.keysym.sym), e.type == SDL_KEYDOWN,
                e.key.repeat != 0);
        break;
    case SDL_WINDOWEVENT: {
        HWND w = FindBySdlId(e.window.windowID);
        if (!w) {
            break;
        }
        switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            Activate(w);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            Deactivate(w, w->iconic);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            w->iconic = true;
            PublishWindow(w);
            Deactivate(w, true);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (w->iconic) {
                w->iconic = false;
                PublishWindow(w);
            }
            break;
        case SDL_WINDOWEVENT_CLOSE:
            if (w->proc) {
                w->proc(w, WM_CLOSE, 0, 0);
            }
            break;
        default:
            break;
        }
        break;
    }
    case SDL_QUIT: {
        // A request to end the program (a termination signal): every window is asked to close,
        // as its close button would, so the program ends its ordinary way.
        std::vector<HWND> windows;
        {
            std::lock_guard lock(WindowMutex());
            windows = LocalWindows();
        }
        for (HWND w : windows) {
            if (IsWindow(w) && !w->destroyed && w->proc) {
                w->proc(w, WM_CLOSE, 0, 0);
            }
        }
        break;
    }
    default:
        break;
    }
}

void HandleRemoteRequests()
{
    std::uint32_t id;
    std::string command;
    while (ReceiveRemoteRequest(&id, &command)) {
        HWND target = nullptr;
        {
            std::lock_guard lock(WindowMutex());
            for (HWND w : LocalWindows()) {
                if (w->id == id) {
                    target = w;
                }
            }
        }
        if (!target) {
            continue;
        }
        if (command == "restore") {
            ShowWindow(target, SW_RESTORE);
        } else if (command == "minimize") {
            ShowWindow(target, SW_MINIMIZE);
        } else if (command == "raise") {
            SetForegroundWindow(target);
        }
    }
}

}  // namespace

void NotifyInput()
{
    WaitSignal().notify_all();
}

void PostToThread(std::thread::id thread, const MSG& msg)
{
    {
        std::lock_guard lock(g_queueMutex);
        QueueOf(thread).messages.push_back(msg);
    }
    NotifyInput();
}

bool HasInput()
{
    {
        std::lock_guard lock(g_queueMutex);
        ThreadQueue& q = QueueOf(std::this_thread::get_id());
        if (!q.messages.empty() || q.quitPosted) {
            return true;
        }
        if (!g_systemEvents.empty()) {
            return true;
        }
    }
    bool hasWindows;
    {
        std::lock_guard lock(WindowMutex());
        hasWindows = !LocalWindows().empty() && LocalWindows().front()->owner == std::this_thread::get_id();
    }
    if (hasWindows) {
        SDL_PumpEvents();
        return SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
    }
    return false;
}

void PumpEvents()
{
    bool ownsWindows = false;
    {
        std::lock_guard lock(WindowMutex());
        for (HWND w : LocalWindows()) {
            if (w->owner == std::this_thread::get_id()) {
                ownsWindows = true;
            }
        }
    }
    if (!ownsWindows) {
        return;
    }
    for (;;) {
        SystemEvent ev;
        {
            std::lock_guard lock(g_queueMutex);
            if (g_systemEvents.empty()) {
                break;
            }
            ev = g_systemEvents.front();
            g_systemEvents.pop_front();
        }
        if (!IsWindow(ev.window)) {
            continue;
        }
        switch (ev.kind) {
        case SystemEvent::Activate: Activate(ev.window); break;
        case SystemEvent::Deactivate: Deactivate(ev.window, false); break;
        case SystemEvent::Close:
            if (ev.window->proc) {
                ev.window->proc(ev.window, WM_CLOSE, 0, 0);
            }
            break;
        }
    }
    SDL_Event e;
    SDL_PumpEvents();
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        HandleSdlEvent(e);
    }
    HandleRemoteRequests();
}

}  // namespace win32

using namespace win32;

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = CurrentClock().NowMs();
    if (window) {
        if (!IsWindow(window) || window->remote || window->destroyed) {
            return FALSE;
        }
        PostToThread(window->owner, msg);
    } else {
        PostToThread(std::this_thread::get_id(), msg);
    }
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    {
        std::lock_guard lock(g_queueMutex);
        ThreadQueue& q = QueueOf(std::this_thread::get_id());
        q.quitPosted = true;
        q.quitCode = exitCode;
    }
    NotifyInput();
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    PumpEvents();
    std::lock_guard lock(g_queueMutex);
    ThreadQueue& q = QueueOf(std::this_thread::get_id());
    auto matches = [&](const MSG& m) {
        if (window && m.hwnd != window) {
            return false;
        }
        if (filterMin == 0 && filterMax == 0) {
            return true;
        }
        return m.message >= filterMin && m.message <= filterMax;
    };
    for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
        if (!matches(*it)) {
            continue;
        }
        if (msg) {
            *msg = *it;
        }
        if (removeFlags & PM_REMOVE) {
            // The key state follows the messages as they are taken from the queue.
            if (it->message == WM_KEYDOWN || it->message == WM_KEYUP) {
                BYTE& k = g_keyState[it->wParam & 0xFF];
                if (it->message == WM_KEYDOWN) {
                    if (!(k & 0x80)) {
                        k ^= 0x01;
                    }
                    k |= 0x80;
                } else {
                    k &= static_cast<BYTE>(~0x80);
                }
            }
            q.messages.erase(it);
        }
        return TRUE;
    }
    // WM_QUIT comes once the queue holds nothing else.
    if (q.quitPosted && !window && (filterMin == 0 && filterMax == 0)) {
        if (msg) {
            *msg = MSG{};
            msg->message = WM_QUIT;
            msg->wParam = static_cast<WPARAM>(q.quitCode);
        }
        if (removeFlags & PM_REMOVE) {
            q.quitPosted = false;
        }
        return TRUE;
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG* msg)
{
    if (!msg || msg->message != WM_KEYDOWN) {
        return FALSE;
    }
    int vk = static_cast<int>(msg->wParam);
    char c = 0;
    bool shift = (GetKeyState(VK_SHIFT) & 0x80) != 0;
    if (vk >= 'A' && vk <= 'Z') {
        c = static_cast<char>(shift ? vk : vk - 'A' + 'a');
    } else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE || vk == VK_RETURN || vk == VK_ESCAPE ||
               vk == VK_BACK || vk == VK_TAB) {
        c = static_cast<char>(vk);
    }
    if (!c) {
        return FALSE;
    }
    MSG ch = *msg;
    ch.message = WM_CHAR;
    ch.wParam = static_cast<WPARAM>(static_cast<unsigned char>(c));
    PostToThread(std::this_thread::get_id(), ch);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (!msg || !msg->hwnd || !IsWindow(msg->hwnd) || msg->hwnd->remote || msg->hwnd->destroyed ||
        !msg->hwnd->proc) {
        return 0;
    }
    return msg->hwnd->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

SHORT GetKeyState(int virtualKey)
{
    std::lock_guard lock(g_queueMutex);
    BYTE k = g_keyState[virtualKey & 0xFF];
    SHORT result = (k & 0x80) ? static_cast<SHORT>(0xFF80) : 0;
    return static_cast<SHORT>(result | (k & 0x01));
}

void Win32InjectKey(HWND window, int virtualKey, bool down)
{
    bool repeat = down && (GetKeyState(virtualKey) & 0x80);
    PostKey(window, virtualKey, down, repeat);
}

void Win32InjectActivate(HWND window, bool active)
{
    {
        std::lock_guard lock(g_queueMutex);
        g_systemEvents.push_back({window, active ? SystemEvent::Activate : SystemEvent::Deactivate});
    }
    NotifyInput();
}

void Win32InjectClose(HWND window)
{
    {
        std::lock_guard lock(g_queueMutex);
        g_systemEvents.push_back({window, SystemEvent::Close});
    }
    NotifyInput();
}

void Win32PollRemoteRequests()
{
    HandleRemoteRequests();
}
