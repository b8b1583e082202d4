#include "report_format.h"

#include <cstring>

namespace {

// Output sink that counts everything and stores what fits.
struct Sink {
    qd_char* ptcBuf;
    size_t uiCap;
    size_t uiLen;

    void put(qd_char c)
    {
        if (uiCap && uiLen + 1 < uiCap) ptcBuf[uiLen] = c;
        ++uiLen;
    }
    void finish()
    {
        if (!uiCap) return;
        ptcBuf[uiLen < uiCap ? uiLen : uiCap - 1] = 0;
    }
};

struct ConvFlags {
    bool bZero = false;
    bool bLeft = false;
    int iWidth = -1;
    int iPrec = -1;
};

void put_padded(Sink& s, const qd_char* ptc, size_t n, const ConvFlags& sp)
{
    size_t pad = (sp.iWidth > 0 && static_cast<size_t>(sp.iWidth) > n) ? sp.iWidth - n : 0;
    if (!sp.bLeft)
        for (size_t i = 0; i < pad; ++i) s.put(u' ');
    for (size_t i = 0; i < n; ++i) s.put(ptc[i]);
    if (sp.bLeft)
        for (size_t i = 0; i < pad; ++i) s.put(u' ');
}

void put_number(Sink& s, unsigned long long v, bool bNeg, unsigned base, bool bUpper, ConvFlags sp)
{
    qd_char digits[32];
    size_t n = 0;
    const char* set = bUpper ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        digits[n++] = static_cast<qd_char>(set[v % base]);
        v /= base;
    } while (v);
    if (sp.iPrec == 0 && n == 1 && digits[0] == u'0') n = 0;
    size_t minDigits = sp.iPrec > 0 ? static_cast<size_t>(sp.iPrec) : 0;
    size_t nDigits = n > minDigits ? n : minDigits;
    size_t total = nDigits + (bNeg ? 1 : 0);
    size_t pad = (sp.iWidth > 0 && static_cast<size_t>(sp.iWidth) > total) ? sp.iWidth - total : 0;
    bool zeroPad = sp.bZero && !sp.bLeft && sp.iPrec < 0;
    if (!sp.bLeft && !zeroPad)
        for (size_t i = 0; i < pad; ++i) s.put(u' ');
    if (bNeg) s.put(u'-');
    if (zeroPad)
        for (size_t i = 0; i < pad; ++i) s.put(u'0');
    for (size_t i = n; i < nDigits; ++i) s.put(u'0');
    while (n) s.put(digits[--n]);
    if (sp.bLeft)
        for (size_t i = 0; i < pad; ++i) s.put(u' ');
}

// The worker. uiElide > 0 drops that many leading characters of the first
// %s argument and shows "..." in their place.
size_t vformat_impl(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, va_list ap, size_t uiElide)
{
    Sink s{ptcBuf, uiCap, 0};
    bool bFirstS = true;
    for (const char* p = pcFmt ? pcFmt : ""; *p; ++p) {
        if (*p != '%') {
            s.put(static_cast<unsigned char>(*p));
            continue;
        }
        ++p;
        ConvFlags sp;
        for (;; ++p) {
            if (*p == '0') sp.bZero = true;
            else if (*p == '-') sp.bLeft = true;
            else break;
        }
        if (*p >= '0' && *p <= '9') {
            sp.iWidth = 0;
            while (*p >= '0' && *p <= '9') sp.iWidth = sp.iWidth * 10 + (*p++ - '0');
        }
        if (*p == '.') {
            ++p;
            sp.iPrec = 0;
            while (*p >= '0' && *p <= '9') sp.iPrec = sp.iPrec * 10 + (*p++ - '0');
        }
        int iLong = 0;  // 0 plain, 1 'l', 2 'll', 3 'z'
        if (*p == 'l') {
            ++p;
            iLong = 1;
            if (*p == 'l') { ++p; iLong = 2; }
        } else if (*p == 'z') {
            ++p;
            iLong = 3;
        }
        switch (*p) {
        case '%':
            s.put(u'%');
            break;
        case 'c':
            s.put(static_cast<qd_char>(va_arg(ap, int)));
            break;
        case 's':
            if (iLong == 1) {
                const qd_char* ptc = va_arg(ap, const qd_char*);
                if (!ptc) ptc = u"(null)";
                size_t n = qd_strlen(ptc);
                if (sp.iPrec >= 0 && static_cast<size_t>(sp.iPrec) < n) n = sp.iPrec;
                put_padded(s, ptc, n, sp);
            } else {
                const char* pc = va_arg(ap, const char*);
                if (!pc) pc = "(null)";
                size_t n = std::strlen(pc);
                if (sp.iPrec >= 0 && static_cast<size_t>(sp.iPrec) < n) n = sp.iPrec;
                size_t skip = 0;
                if (bFirstS && uiElide) {
                    skip = uiElide < n ? uiElide : n;
                    s.put(u'.'); s.put(u'.'); s.put(u'.');
                }
                bFirstS = false;
                for (size_t i = skip; i < n; ++i) s.put(static_cast<unsigned char>(pc[i]));
            }
            break;
        case 'd':
        case 'i': {
            long long v;
            if (iLong == 2) v = va_arg(ap, long long);
            else if (iLong == 3) v = static_cast<long long>(va_arg(ap, ptrdiff_t));
            else v = va_arg(ap, int);  // 'l' is 32-bit on Windows: read as int everywhere
            bool bNeg = v < 0;
            unsigned long long u = bNeg ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
            put_number(s, u, bNeg, 10, false, sp);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            unsigned long long v;
            if (iLong == 2) v = va_arg(ap, unsigned long long);
            else if (iLong == 3) v = va_arg(ap, size_t);
            else v = va_arg(ap, unsigned int);
            unsigned base = *p == 'u' ? 10 : 16;
            put_number(s, v, false, base, *p == 'X', sp);
            break;
        }
        case 'p': {
            const void* pv = va_arg(ap, const void*);
            ConvFlags ps;
            ps.bZero = true;
            ps.iWidth = static_cast<int>(sizeof(void*) * 2);
            put_number(s, static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pv)), false, 16, true, ps);
            break;
        }
        case '\0':
            --p;  // a lone '%' at the end: stop cleanly
            break;
        default:
            s.put(u'%');
            s.put(static_cast<unsigned char>(*p));
            break;
        }
    }
    s.finish();
    return s.uiLen;
}

}  // namespace

size_t qd_vformat(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, va_list ap)
{
    return vformat_impl(ptcBuf, uiCap, pcFmt, ap, 0);
}

size_t qd_format(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, ...)
{
    va_list ap;
    va_start(ap, pcFmt);
    size_t n = qd_vformat(ptcBuf, uiCap, pcFmt, ap);
    va_end(ap);
    return n;
}

size_t qd_vformat_report(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, va_list ap)
{
    if (!ptcBuf || !uiCap) return 0;
    va_list ap2;
    va_copy(ap2, ap);
    size_t n = vformat_impl(ptcBuf, uiCap, pcFmt, ap, 0);
    if (n < uiCap) {
        va_end(ap2);
        return n;
    }
    // Too long: drop the excess (and room for "...") from the front of the path.
    size_t excess = n - (uiCap - 1);
    n = vformat_impl(ptcBuf, uiCap, pcFmt, ap2, excess + 3);
    va_end(ap2);
    return n < uiCap ? n : uiCap - 1;
}

size_t qd_format_report(qd_char* ptcBuf, size_t uiCap, const char* pcFmt, ...)
{
    va_list ap;
    va_start(ap, pcFmt);
    size_t n = qd_vformat_report(ptcBuf, uiCap, pcFmt, ap);
    va_end(ap);
    return n;
}
