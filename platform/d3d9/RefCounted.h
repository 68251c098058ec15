#pragma once
// Reference counting for the stand-in's objects: created with one reference, destroyed by the last Release.
#include <atomic>

#include "platform/d3d9/D3D9Types.h"

template <class Interface>
class RefCounted : public Interface {
public:
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override
    {
        ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

private:
    std::atomic<ULONG> references_{1};
};
