#include "core/Checksum.h"

namespace checksum {

uint32_t ComputeFileChecksum(const unsigned char* bytes, size_t count) {
    uint32_t sum = kInitialValue;
    for (size_t i = 0; i + 4 <= count; i += 4)
        sum ^= uint32_t(bytes[i]) | uint32_t(bytes[i + 1]) << 8 | uint32_t(bytes[i + 2]) << 16 |
               uint32_t(bytes[i + 3]) << 24;
    return sum;
}

uint32_t ComputeTextChecksum(const char16_t* text, size_t length) {
    uint32_t sum = kInitialValue;
    for (size_t i = 0; i + 4 < length; i += 4) sum ^= uint32_t(text[i]) | uint32_t(text[i + 1]) << 16;
    return sum;
}

}  // namespace checksum
