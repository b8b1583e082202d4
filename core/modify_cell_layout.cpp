#include "modify_cell_layout.h"

#include <cstdint>

namespace {

// Screen fractions. The single-precision ones enter the products with
// their exact stored values (0.045f and 0.025f lie just above the decimal,
// 0.03f just below, so 100 x 0.03f gives 2).
constexpr double K_MC_W = 0.135;
constexpr double K_MC_H = 0.15000000000000002;  // the double just above 0.15
constexpr float K_CTL_W = 0.045f;
constexpr float K_CTL_H = 0.025f;
constexpr double K_PN_W = 0.1875;
constexpr double K_PN_H = 0.175;
constexpr float K_PN_FIELD_W = 0.126f;
constexpr float K_PN_FIELD_H = 0.03f;
constexpr double K_PN_LABEL_W = 1.7999999999999998;  // times the field fraction

// Sum computed in double, then cut toward zero.
int32_t trunc_mul_add(int32_t v, double k, double add)
{
    return static_cast<int32_t>(static_cast<double>(v) * k + add);
}

bool is_space(qd_char c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}  // namespace

STR_Size modify_cell_window_size(int32_t iScreenW, int32_t iScreenH)
{
    return {trunc_mul_add(iScreenW, K_MC_W, 35.0), trunc_mul_add(iScreenH, K_MC_H, 25.0)};
}

STR_Point modify_cell_window_pos(int32_t iCursorX, int32_t iCursorY)
{
    return {iCursorX + QD_MC_CURSOR_OFFSET, iCursorY + QD_MC_CURSOR_OFFSET};
}

void modify_cell_layout(int32_t iScreenW, int32_t iScreenH, STR_ModifyCellLayout* p)
{
    if (!p) return;
    const int32_t m = QD_MC_MARGIN;
    const int32_t bw = qd_trunc_mul(iScreenW, K_CTL_W);
    const int32_t bh = qd_trunc_mul(iScreenH, K_CTL_H);
    const int32_t W = trunc_mul_add(iScreenW, K_MC_W, 30.0);
    p->i_margin = m;
    p->i_layout_w = W;
    p->i_ctl_w = bw;
    p->i_ctl_h = bh;
    p->pt_Ok = {W - m - bw, m};
    p->pt_Cancel = {W - m - bw, m + bh + m};
    for (int32_t k = 0; k < QD_MC_FIELDS; ++k) {
        const int32_t top = m + k * (bh + m);
        p->arr_pt_fields[k] = {3 * m + bw, top};
        p->arr_rc_labels[k] = {m, top, m + bw, top + bh};
    }
    p->arr_rc_labels[QD_MC_FIELDS - 1].i_bottom += 5;
}

int32_t modify_cell_field_number(const qd_char* ptc)
{
    if (!ptc) return 0;
    while (is_space(*ptc)) ++ptc;
    bool bNeg = false;
    if (*ptc == u'+' || *ptc == u'-') {
        bNeg = (*ptc == u'-');
        ++ptc;
    }
    // Accumulate the magnitude, stopping once it is past the 32-bit range.
    const int64_t iLimit = bNeg ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t iMag = 0;
    for (; *ptc >= u'0' && *ptc <= u'9'; ++ptc) {
        if (iMag <= iLimit) iMag = iMag * 10 + (*ptc - u'0');
    }
    if (iMag > iLimit) iMag = iLimit;
    return static_cast<int32_t>(bNeg ? -iMag : iMag);
}

STR_Size profile_name_window_size(int32_t iScreenW, int32_t iScreenH)
{
    return {qd_trunc_mul(iScreenW, K_PN_W), qd_trunc_mul(iScreenH, K_PN_H)};
}

void profile_name_layout(int32_t iOuterW, int32_t iScreenW, int32_t iScreenH, STR_ProfileNameLayout* p)
{
    if (!p) return;
    const int32_t m = QD_PN_MARGIN;
    const int32_t bw = qd_trunc_mul(iScreenW, K_CTL_W);
    const int32_t bh = qd_trunc_mul(iScreenH, K_CTL_H);
    const int32_t fw = qd_trunc_mul(iScreenW, K_PN_FIELD_W);
    const int32_t fh = qd_trunc_mul(iScreenH, K_PN_FIELD_H);
    const int32_t fieldTop = qd_trunc_mul(fh, 1.5);
    p->i_margin = m;
    p->i_btn_w = bw;
    p->i_btn_h = bh;
    p->pt_Ok = {iOuterW - bw - 2 * m, m};
    p->pt_Cancel = {iOuterW - bw - 2 * m, m + bh + m};
    p->i_field_w = fw;
    p->i_field_h = fh;
    p->pt_field = {m, fieldTop};
    const int32_t labelRight = m + qd_trunc_mul(iScreenW, static_cast<double>(K_PN_FIELD_W) * K_PN_LABEL_W);
    const int32_t labelBottom = fieldTop - m;
    p->rc_label = {m, labelBottom - fh, labelRight, labelBottom};
}
