#pragma once
// The machine value that bind = 1 mixes into the seed: the root volume's serial number shifted
// right by one bit, plus the sum of the first network adapter's six address bytes.
#include <array>
#include <cstdint>
#include <optional>

namespace sealer {

std::uint32_t MachineSeedOffset();

// The root file system's identifier as the kernel reports it (on ext4, XFS and Btrfs it is
// made from the volume's UUID); nothing when it cannot be read or is zero.
std::optional<std::uint32_t> ReadVolumeSerial();

// The hardware address of the Ethernet-type adapter with the lowest interface index, loopback
// and all-zero addresses passed over; nothing when there is none.
std::optional<std::array<std::uint8_t, 6>> ReadAdapterAddress();

}  // namespace sealer
