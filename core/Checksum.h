// The integrity checksums of the panel picture and of the configuration texts.
#pragma once
#include <cstddef>
#include <cstdint>

namespace checksum {

constexpr uint32_t kInitialValue = 0x6E1B27C9u;
// Only this many leading bytes of the picture take part.
constexpr size_t kFileBufferSize = 307200;

// XOR of every complete little-endian 32-bit word at byte offsets 0, 4, ... n - 4.
uint32_t ComputeFileChecksum(const unsigned char* bytes, size_t count);

// XOR of the words formed from code units 4k (low half) and 4k + 1 (high half), for every
// k with 4k + 4 < length: units 4k + 2, 4k + 3 and the last three units never take part.
uint32_t ComputeTextChecksum(const char16_t* text, size_t length);

}  // namespace checksum
