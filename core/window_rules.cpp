#include "window_rules.h"

namespace {

const qd_char* const arr1D_ptc_ExcludedClasses[] = {
    u"tooltips_class32",
    u"tooltips_class",
    u"sysshadow",
    u"regedit_regedit",
    u"#32770",
    u"taskmanagerwindow",
    u"applicationframewindow",
    u"windows.ui.core.corewindow",
    u"progman",
    u"button",
};

// Compares a text with a lower-case reference, lower-casing only the text,
// so no copy (and no length limit) is needed.
bool equals_lowered(const qd_char* ptcText, const qd_char* ptcLower)
{
    size_t j = 0;
    for (; ptcLower[j]; ++j)
        if (lower_az(ptcText[j]) != ptcLower[j]) return false;
    return ptcText[j] == 0;
}

}  // namespace

qd_char lower_az(qd_char c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<qd_char>(c + (u'a' - u'A')) : c;
}

bool is_excluded_class(const qd_char* ptcClassName)
{
    if (!ptcClassName) return false;
    for (const qd_char* ptcLower : arr1D_ptc_ExcludedClasses)
        if (equals_lowered(ptcClassName, ptcLower)) return true;
    return false;
}

bool is_explorer_path(const qd_char* ptcPath, size_t uiN_Path)
{
    if (!ptcPath || uiN_Path < QD_EXPLORER_TAIL) return false;
    return equals_lowered(ptcPath + (uiN_Path - QD_EXPLORER_TAIL), u"explorer.exe");
}

uint32_t caption_shown_length(int32_t iTextLength, uint32_t uiN_Copied)
{
    const uint32_t uiLen = iTextLength < 0 ? 0u : static_cast<uint32_t>(iTextLength);
    return uiLen < uiN_Copied ? uiLen : uiN_Copied;
}

uint32_t caption_shorten(const qd_char* ptcCaption, uint32_t uiLen,
                         qd_char ptcCell[QD_CAPTION_CELL_UNITS])
{
    if (!ptcCell) return 0;
    for (uint32_t j = 0; j < QD_CAPTION_CELL_UNITS; ++j) ptcCell[j] = 0;
    if (!ptcCaption) return 0;
    uint32_t n = 0;
    if (uiLen <= QD_CAPTION_SHOWN_MAX) {
        for (; n < uiLen; ++n) ptcCell[n] = ptcCaption[n];
        return n;
    }
    for (uint32_t j = 0; j < QD_CAPTION_HEAD; ++j) ptcCell[n++] = ptcCaption[j];
    for (int k = 0; k < 3; ++k) ptcCell[n++] = u'.';
    for (uint32_t j = uiLen - QD_CAPTION_TAIL; j < uiLen; ++j) ptcCell[n++] = ptcCaption[j];
    return n;
}

STR_WndGeom window_geometry(int32_t iLeft, int32_t iTop, int32_t iRight, int32_t iBottom,
                            bool bIconic)
{
    if (bIconic) return {0, 0, 0, 0};
    // Differences in unsigned arithmetic: a nonsense rectangle wraps
    // instead of overflowing.
    const auto diff = [](int32_t a, int32_t b) {
        return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
    };
    return {iLeft, iTop, diff(iBottom, iTop), diff(iRight, iLeft)};
}
