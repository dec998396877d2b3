#include "core/HexNumber.h"

namespace {

// The Windows runtime's wcstoul also reads the decimal digits of these scripts (each block runs
// from its zero to its nine) and takes Unicode space separators as leading blanks. Matching it
// keeps a value that was pasted with a no-break space or typed with full-width digits meaning
// the same everywhere.
constexpr char32_t kUnicodeDigitZeros[] = {0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6,
                                           0x0B66, 0x0C66, 0x0CE6, 0x0D66, 0x0E50, 0x0ED0,
                                           0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};

bool IsBlank(char32_t c) {
    return c == 0x20 || (c >= 0x09 && c <= 0x0D) || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// The digit's value, or -1 when the unit ends the number.
int DigitValue(char32_t c) {
    if (c >= '0' && c <= '9') return int(c - '0');
    if (c >= 'a' && c <= 'f') return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return int(c - 'A' + 10);
    for (char32_t zero : kUnicodeDigitZeros)
        if (c >= zero && c <= zero + 9) return int(c - zero);
    return -1;
}

template <typename Unit>
uint32_t ParseHex(const Unit* text) {
    if (!text) return 0;
    const Unit* p = text;
    while (IsBlank(char32_t(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // The runtime takes any zero digit before the 'x' as the prefix. A bare "0x" reads as the
    // number 0 either way, so the prefix may be skipped without looking further.
    if (DigitValue(char32_t(p[0])) == 0 && (p[1] == 'x' || p[1] == 'X')) p += 2;

    uint32_t value = 0;
    bool overflow = false;
    for (int digit; (digit = DigitValue(char32_t(*p))) >= 0; ++p) {
        if (value > (UINT32_MAX - uint32_t(digit)) / 16) overflow = true;
        value = value * 16 + uint32_t(digit);
    }
    if (overflow) value = UINT32_MAX;
    return negative ? uint32_t(0u - value) : value;
}

}  // namespace

uint32_t ParseHex32(const char16_t* text) { return ParseHex(text); }
uint32_t ParseHex32(const wchar_t* text) { return ParseHex(text); }
