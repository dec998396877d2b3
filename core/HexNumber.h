// Hexadecimal numbers of the configuration (the two expected checksums), read exactly as the
// Windows C runtime's wcstoul reads them with base 16, so that a value means the same to the
// program, to the sealing tool and to a deployer who checks it by hand.
#pragma once
#include <cstdint>

// Leading blanks, an optional sign, an optional "0x", then hexadecimal digits up to the first
// other unit. No digits give 0; a magnitude beyond 32 bits is clamped to 0xFFFFFFFF before a
// '-' negates it (so "-100000000" gives 1, as the Windows runtime does). A null text gives 0.
uint32_t ParseHex32(const char16_t* text);
// The same for the platform's wide strings (UTF-16 on Windows).
uint32_t ParseHex32(const wchar_t* text);
