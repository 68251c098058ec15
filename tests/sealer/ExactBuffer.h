#pragma once
// A heap block of exactly the given size, so that AddressSanitizer reports any byte touched
// beyond it.
#include <cstdint>
#include <cstring>
#include <memory>

class ExactBuffer {
public:
    explicit ExactBuffer(int size, std::uint8_t fill = 0)
        : size_(size < 0 ? 0 : size), bytes_(new std::uint8_t[static_cast<std::size_t>(size_)])
    {
        std::memset(bytes_.get(), fill, static_cast<std::size_t>(size_));
    }
    std::uint8_t* data() { return bytes_.get(); }
    int size() const { return size_; }
    std::uint8_t& operator[](int i) { return bytes_[static_cast<std::size_t>(i)]; }
    bool AllEqual(std::uint8_t value) const
    {
        for (int i = 0; i < size_; ++i) {
            if (bytes_[static_cast<std::size_t>(i)] != value) {
                return false;
            }
        }
        return true;
    }

private:
    int size_;
    std::unique_ptr<std::uint8_t[]> bytes_;
};
