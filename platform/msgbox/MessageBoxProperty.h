#pragma once
// The X window property on a message box that holds the text its label shows (UTF-8), so that
// another process can read back what the box says.
constexpr const char* kMessageBoxTextProperty = "_MESSAGE_BOX_TEXT";
