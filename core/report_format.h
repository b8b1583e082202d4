// Bounded composition of report texts into UTF-16 buffers.
//
// Templates are printf-style ASCII strings. Supported conversions:
//   %s  narrow (ASCII/UTF-8 bytes widened one by one)   %ls UTF-16 (const qd_char*)
//   %d %i %u %x %X with optional '0'/'-' flags, width, precision and the
//   length modifiers l (32-bit on every target), ll, z;  %p  %c  %%
// %p prints the pointer as upper-case hex zero-padded to the pointer width,
// as the Windows C runtime does, so a null shows as all zeros.
#pragma once
#include <cstdarg>
#include "qd_text.h"

// Formats into ptcBuf (capacity uiCap units, always zero-terminated when
// uiCap > 0). Returns the length the whole text needs, without terminator;
// a result >= uiCap means the text was cut.
size_t qd_vformat(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, va_list ap);
size_t qd_format(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, ...);

// Composes a report so that it always fits: when the full text is longer
// than the buffer, the first %s argument (the source path) loses its
// leading characters, shown as "...", so the description survives. Only
// when even that is not enough is the end of the text cut.
// Returns the length written.
size_t qd_vformat_report(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, va_list ap);
size_t qd_format_report(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, ...);
