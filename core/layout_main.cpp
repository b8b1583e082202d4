#include "layout_main.h"

#include "qd_text.h"

void geom_init_constants(STR_GeomLt* p)
{
    if (!p) return;
    p->f_Scan_h = 0.035f;
    p->f_Scan_w = 0.06f;
    p->f_LoadProfile_h = 0.035f;
    p->f_LoadProfile_w = 0.06f;
    p->f_picture_h = 0.85f;
    p->f_picture_w = 0.7f;
    p->i_margin = 5;
}

STR_Size main_window_size(int32_t iScreenW, int32_t iScreenH)
{
    return {qd_trunc_mul(iScreenW, 0.4), qd_trunc_mul(iScreenH, 0.45)};
}

STR_Size main_button_size(int32_t iScreenW, int32_t iScreenH)
{
    return {qd_trunc_mul(iScreenW, 0.06f), qd_trunc_mul(iScreenH, 0.035f)};
}

STR_Size button_font_box(int32_t iButtonW, int32_t iButtonH)
{
    return {qd_trunc_mul(iButtonW, 0.8), qd_trunc_mul(iButtonH, 0.85)};
}

static STR_Box make_box(int32_t l, int32_t t, int32_t h, int32_t w)
{
    return {l, t, h, w};
}

int32_t layout_main_window(STR_GeomLt* p, uint32_t uiW, uint32_t uiH, int32_t iScreenW, int32_t iScreenH)
{
    if (!p) return -1;
    const int32_t m = p->i_margin;
    const int32_t W = static_cast<int32_t>(uiW & 0xFFFF);
    const int32_t H = static_cast<int32_t>(uiH & 0xFFFF);
    p->i_client_w = W;
    p->i_client_h = H;

    // Picture area on the left.
    const int32_t hD = qd_trunc_mul(H, p->f_picture_h);
    const int32_t wD = qd_trunc_mul(W, p->f_picture_w);
    p->box_picture = make_box(m, m, hD, wD);

    // Right column.
    const int32_t x = m + wD + 5 * m;
    const int32_t scanH = qd_trunc_mul(iScreenH, p->f_Scan_h);
    const int32_t scanW = qd_trunc_mul(iScreenW, p->f_Scan_w);
    p->box_Scan = make_box(x, m, scanH, scanW);
    const int32_t lpTop = p->box_Scan.i_top + scanH + m;
    p->box_LoadProfile = make_box(x, lpTop, qd_trunc_mul(iScreenH, p->f_LoadProfile_h),
                                  qd_trunc_mul(iScreenW, p->f_LoadProfile_w));

    const int32_t r = qd_trunc_mul(p->i_font_h_buttons, 1.2);
    const int32_t t = W - x - 3 * m;
    const STR_Box& lp = p->box_LoadProfile;
    p->box_reserved = make_box(x, lp.i_top + lp.i_height + 5 * m, r, t);
    p->box_lbl_Profile = make_box(x, p->box_reserved.i_top + r + m, r, t);
    p->box_CB_Profile = make_box(x, p->box_lbl_Profile.i_top + r + m, scanH, t);
    p->box_lbl_Action = make_box(x, p->box_CB_Profile.i_top + scanH + m, r, t);
    p->box_CB_Action = make_box(x, p->box_lbl_Action.i_top + r + m, p->box_CB_Profile.i_height, t);
    p->box_Apply = make_box(x, p->box_CB_Action.i_top + p->box_CB_Action.i_height + m, scanH, scanW);

    // Axes from the picture's corner.
    p->i_axis_x0 = p->box_picture.i_left + 2 * m;
    p->i_axis_y0 = p->box_picture.i_top + 2 * m;
    p->i_axis_len_X = wD - 4 * m;
    p->i_axis_len_Y = hD - 4 * m;

    // Five schematic windows on a 3 x 3 grid of units.
    const int32_t uw = (wD - 10 * m) / 3;
    const int32_t uh = (hD - 10 * m) / 3;
    STR_SchemWnd* w = p->arr_wnds;
    w[0] = {p->box_picture.i_left + 4 * m, p->box_picture.i_top + 4 * m, uw, uh};
    w[1] = {w[0].i_left + uw + m, w[0].i_top, uw, 2 * uh + m};
    w[2] = {w[1].i_left + uw + m, w[0].i_top, uw, 2 * uh + m};
    w[3] = {w[0].i_left, w[0].i_top + uh + m, uw, uh};
    w[4] = {w[0].i_left, w[3].i_top + uh + m, 3 * uw + 2 * m, uh};

    p->pt_letter_Y = {p->box_picture.i_left, p->box_picture.i_top + hD - 2 * m};
    p->pt_letter_X = {p->box_picture.i_left + wD - 2 * m, p->box_picture.i_top - m};
    return 1;
}
