#pragma once
// Things a user may leave where a file is expected, made in a test's own folder. Each returns
// false when it cannot be made here (a device needs root).
#include <string>

// A Unix socket bound at path, its descriptor closed again: the socket file stays.
bool MakeSocketAt(const std::string& path);
// A character device with the null device's numbers (1, 3), mode 0600: as harmless as any device
// can be should it be opened after all.
bool MakeNullDeviceAt(const std::string& path);
