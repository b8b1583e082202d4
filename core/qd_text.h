// Text and integer conventions shared by the portable core.
// The core speaks UTF-16 through char16_t on every platform; on Windows the
// Win32 layer reinterprets it as wchar_t (both are 16-bit there).
#pragma once
#include <cstddef>
#include <cstdint>

typedef char16_t qd_char;

// Length of a zero-terminated UTF-16 string, in units.
inline size_t qd_strlen(const qd_char* ptc)
{
    size_t n = 0;
    if (ptc) while (ptc[n]) ++n;
    return n;
}

// Truncated product used by every window size: the integer times the factor
// in double precision, cut toward zero. Callers pass single-precision
// factors as float so that their exact stored value enters the product.
inline int32_t qd_trunc_mul(int32_t v, double k)
{
    return static_cast<int32_t>(static_cast<double>(v) * k);
}
