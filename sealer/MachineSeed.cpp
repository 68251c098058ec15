#include "sealer/MachineSeed.h"

#include <dirent.h>
#include <sys/statfs.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace sealer {

namespace {

constexpr int kEthernetType = 1;  // ARPHRD_ETHER in /sys/class/net/*/type

bool ReadInt(const std::string& path, int& value)
{
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) {
        return false;
    }
    bool ok = std::fscanf(file, "%d", &value) == 1;
    std::fclose(file);
    return ok;
}

bool ReadAddress(const std::string& path, std::array<std::uint8_t, 6>& address)
{
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) {
        return false;
    }
    unsigned b[6];
    char tail = 0;
    int fields = std::fscanf(file, "%2x:%2x:%2x:%2x:%2x:%2x%c", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &tail);
    std::fclose(file);
    // Exactly six bytes: a longer address (InfiniBand and the like) is not an adapter of this kind.
    if (fields < 6 || (fields == 7 && tail != '\n')) {
        return false;
    }
    bool allZero = true;
    for (int i = 0; i < 6; ++i) {
        address[i] = static_cast<std::uint8_t>(b[i]);
        allZero = allZero && b[i] == 0;
    }
    return !allZero;
}

}  // namespace

std::optional<std::uint32_t> ReadVolumeSerial()
{
    struct statfs info{};
    if (statfs("/", &info) != 0) {
        return std::nullopt;
    }
    int words[2];
    static_assert(sizeof(words) == sizeof(info.f_fsid));
    std::memcpy(words, &info.f_fsid, sizeof(words));
    auto serial = static_cast<std::uint32_t>(words[0]) ^ static_cast<std::uint32_t>(words[1]);
    if (serial == 0) {
        return std::nullopt;
    }
    return serial;
}

std::optional<std::array<std::uint8_t, 6>> ReadAdapterAddress()
{
    const std::string root = "/sys/class/net/";
    DIR* dir = opendir(root.c_str());
    if (!dir) {
        return std::nullopt;
    }
    std::optional<std::array<std::uint8_t, 6>> first;
    int firstIndex = INT_MAX;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || name == "lo") {
            continue;
        }
        std::string folder = root + name + "/";
        int type = 0;
        int index = 0;
        std::array<std::uint8_t, 6> address{};
        if (!ReadInt(folder + "type", type) || type != kEthernetType || !ReadInt(folder + "ifindex", index) ||
            index >= firstIndex || !ReadAddress(folder + "address", address)) {
            continue;
        }
        first = address;
        firstIndex = index;
    }
    closedir(dir);
    return first;
}

std::uint32_t MachineSeedOffset()
{
    // A part that cannot be read counts as 0, so the value still stays the same on one machine.
    std::uint32_t serial = ReadVolumeSerial().value_or(0);
    std::uint32_t addressSum = 0;
    if (auto address = ReadAdapterAddress()) {
        for (std::uint8_t b : *address) {
            addressSum += b;
        }
    }
    return (serial >> 1) + addressSum;
}

}  // namespace sealer
