#pragma once
// ID3DXBuffer: a block of bytes handed out by the loaders.
#include <vector>

#include "platform/d3d9/D3DX9.h"
#include "platform/d3d9/RefCounted.h"

class Buffer final : public RefCounted<ID3DXBuffer> {
public:
    explicit Buffer(std::size_t size) : bytes_(size) {}
    void* GetBufferPointer() override { return bytes_.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(bytes_.size()); }

private:
    ~Buffer() override = default;
    std::vector<BYTE> bytes_;
};
