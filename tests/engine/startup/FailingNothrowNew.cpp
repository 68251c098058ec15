#include "tests/engine/startup/FailingNothrowNew.h"

#include <atomic>
#include <new>

namespace {

std::atomic<bool> g_failing{false};

}  // namespace

FailingNothrowNew::FailingNothrowNew()
{
    g_failing = true;
}

FailingNothrowNew::~FailingNothrowNew()
{
    g_failing = false;
}

// The replaceable allocation function behind new (std::nothrow) T. Otherwise it allocates through
// the throwing form, so that whatever delete frees came from the allocator it expects.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_failing) {
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
