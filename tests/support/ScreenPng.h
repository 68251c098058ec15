#pragma once
// A screen read back, written as a PNG file for a person to look at.
#include <string>

#include "tests/support/ScreenCapture.h"

// False when the file could not be written.
bool SaveScreenPng(const ScreenCapture& screen, const std::string& path);
