#include "app/PixelLayout.h"

#include <algorithm>

using namespace pixellayout;

PixelLayoutResult ComputePixelLayout(const PixelLayoutInput& in)
{
    PixelLayoutResult r;
    for (auto& b : r.button) {
        b.height = in.buttonHeight;
        b.width = std::max(ButtonWidth, in.buttonRoom);
    }
    for (int i = 0; i < 2; ++i) {
        r.spin[i].width = std::max(FieldWidth, in.fieldRoom);
        r.spin[i].height = in.spinHeight[i];
        r.label[i].width = in.label[i].width;
        r.label[i].height = in.label[i].height;
    }
    LayoutRect& l1 = r.label[0];
    LayoutRect& l2 = r.label[1];
    LayoutRect& s1 = r.spin[0];
    LayoutRect& s2 = r.spin[1];
    LayoutRect& b1 = r.button[0];
    LayoutRect& b2 = r.button[1];

    l1.left = Margin;
    l2.left = l1.left;
    s1.top = Margin;
    s2.top = s1.top;
    s1.left = l1.left + l1.width + LabelGap;
    l2.left = s1.left + s1.width + Margin;
    s2.left = l2.left + l2.width + LabelGap;
    l1.top = s1.top + HalfOf(s1.height - l1.height);
    l2.top = s2.top + HalfOf(s2.height - l2.height);
    b1.top = s1.top + s1.height + Margin;
    b2.top = b1.top;
    r.clientWidth = s2.left + s2.width + Margin;
    r.clientHeight = b1.top + b1.height + Margin;
    ButtonLeftsFor(r.clientWidth, r);
    return r;
}

void ButtonLeftsFor(int clientWidth, PixelLayoutResult& r)
{
    // Equal gaps left of, between and right of the two buttons (C++ division truncates toward zero).
    r.button[0].left = (clientWidth - 2 * r.button[0].width) / 3;
    r.button[1].left = 2 * r.button[0].left + r.button[0].width;
}
