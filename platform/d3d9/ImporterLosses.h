#pragma once
// The mesh importer drops the mesh or frame it was filling when it throws on a malformed file, and
// the library cannot be mended from here. Under the leak checker that loss would fail every run
// that reads such a file, while passing over the whole library would also hide what our own code
// leaks of the scenes it takes from it. So the allocations of one import are noted: when the
// import fails, those still held after the importer has gone are the importer's own loss and the
// leak checker passes over them; those of an import that succeeded are checked like any others.
// In a build without the leak checker it does nothing.
#include <unordered_set>

class ImporterLosses {
public:
    ImporterLosses() = default;
    ImporterLosses(const ImporterLosses&) = delete;
    ImporterLosses& operator=(const ImporterLosses&) = delete;
    // Declared before the importer, so that this runs once the importer has freed what it keeps.
    ~ImporterLosses();

    // Notes what this thread allocates until End.
    void Begin();
    // failed: the import gave no scene. What it allocated and still holds is passed over at
    // destruction; after a success nothing more is noted.
    void End(bool failed);

private:
    void Stop();

    std::unordered_set<const void*> held_;
};
