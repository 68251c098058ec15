#include "platform/d3d9/ImporterLosses.h"

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define PELLMOOR_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELLMOOR_LEAK_CHECKED 1
#endif
#endif

#ifdef PELLMOOR_LEAK_CHECKED

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onAllocate)(const volatile void*, std::size_t),
                                                         void (*onFree)(const volatile void*));
extern "C" void __lsan_ignore_object(const void* p);

namespace {

// The allocations the importer on this thread still holds; null when no import is watched.
thread_local std::unordered_set<const void*>* t_held = nullptr;
// Whether new allocations are noted too, or only frees.
thread_local bool t_noting = false;
// Set while a hook updates the set, whose own allocations are not the importer's.
thread_local bool t_inHook = false;

void OnAllocate(const volatile void* p, std::size_t)
{
    if (t_held && t_noting && !t_inHook) {
        t_inHook = true;
        t_held->insert(const_cast<const void*>(p));
        t_inHook = false;
    }
}

void OnFree(const volatile void* p)
{
    if (t_held && !t_inHook) {
        t_inHook = true;
        t_held->erase(const_cast<const void*>(p));
        t_inHook = false;
    }
}

// Installed while the program starts, before any thread: the sanitizer's hook list is not
// guarded for later changes.
[[maybe_unused]] const int g_hooks = __sanitizer_install_malloc_and_free_hooks(OnAllocate, OnFree);

}  // namespace

void ImporterLosses::Begin()
{
    held_.clear();
    t_held = &held_;
    t_noting = true;
}

void ImporterLosses::End(bool failed)
{
    t_noting = false;
    if (!failed) {
        Stop();
    }
}

void ImporterLosses::Stop()
{
    if (t_held == &held_) {
        t_held = nullptr;
        t_noting = false;
    }
}

ImporterLosses::~ImporterLosses()
{
    // Still watched: the import failed, or it threw out of the importer and never reached End.
    const bool failed = t_held == &held_;
    Stop();
    if (failed) {
        for (const void* p : held_) {
            __lsan_ignore_object(p);
        }
    }
}

#else

void ImporterLosses::Begin() {}
void ImporterLosses::End(bool) {}
void ImporterLosses::Stop() {}
ImporterLosses::~ImporterLosses() = default;

#endif
