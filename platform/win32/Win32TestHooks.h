#pragma once
// Seams for tests: input and window events injected as the window system would deliver them,
// and message boxes captured and answered instead of shown.
#include <functional>
#include <string>

#include "platform/win32/Win32Types.h"

// Queues a key press or release for the window, delivered by the next PeekMessageA.
void Win32InjectKey(HWND window, int virtualKey, bool down);
// Queues a focus change or a click on the close button.
void Win32InjectActivate(HWND window, bool active);
void Win32InjectClose(HWND window);

// A captured message box: owner, text and caption; returns the button that closes it.
using MessageBoxHook = std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
// Installs the hook (an empty function restores real message boxes).
void Win32SetMessageBoxHook(MessageBoxHook hook);

// Overrides the file that GetModuleFileNameA reports (tests place a program in a folder).
void Win32SetModuleFileName(const std::string& path);
