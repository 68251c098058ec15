#pragma once
// Makes the fuzz scratch folder current for a reader that looks beside the current folder, and
// returns to the folder that was current when it goes: the fuzzer reads its inputs and writes what
// it finds by the paths it was given, which may be relative.
class FuzzCurrentFolder {
public:
    FuzzCurrentFolder();
    ~FuzzCurrentFolder();
    FuzzCurrentFolder(const FuzzCurrentFolder&) = delete;
    FuzzCurrentFolder& operator=(const FuzzCurrentFolder&) = delete;

private:
    int previous_;  // held open, so the way back does not depend on the folder's name
};
