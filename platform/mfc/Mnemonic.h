#pragma once
// Access keys: "&" marks one in the system's texts ("&&" is a plain "&"), "_" in GTK's.
#include <string>

std::string ToGtkMnemonic(const char* text);
