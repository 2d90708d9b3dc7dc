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
    r.view.client = {r.clientWidth, r.clientHeight};
    if (in.room.width <= 0 || in.room.height <= 0 || FitsInto(r.view.client, in.room))
        return r;

    // Width above height, each label left of its field, the buttons below:
    // side by side while their row fits the room's width, else one above the
    // other (a dialog that scrolls sideways hides a button).
    const int fieldLeft = Margin + std::max(l1.width, l2.width) + LabelGap;
    int top = Margin;
    for (int i = 0; i < 2; ++i) {
        LayoutRect& s = r.spin[i];
        LayoutRect& l = r.label[i];
        const int rowHeight = std::max(s.height, l.height);
        s.top = top + HalfOf(rowHeight - s.height);
        s.left = fieldLeft;
        l.left = Margin;
        l.top = s.top + HalfOf(s.height - l.height);
        top += rowHeight + Margin;
    }
    const int fieldsWidth = fieldLeft + s1.width + Margin;
    // Room for both buttons with the row's equal gaps of at least the margin.
    const int buttonRowWidth = 2 * b1.width + 3 * Margin;
    auto arrange = [&](bool stackButtons) {
        r.buttonsStacked = stackButtons;
        b1.top = top;
        b2.top = stackButtons ? b1.top + b1.height + Margin : b1.top;
        r.clientWidth = std::max(fieldsWidth, stackButtons ? b1.width + 2 * Margin : buttonRowWidth);
        r.clientHeight = b2.top + b2.height + Margin;
        ButtonLeftsFor(r.clientWidth, r);
        r.view.client = {r.clientWidth, r.clientHeight};
    };
    arrange(false);
    r.arrangement = PixelArrangement::Stacked;
    if (FitsInto(r.view.client, in.room))
        return r;
    // A client that is to scroll up and down loses a scroll bar's width.
    const bool tooHigh = r.view.client.height > in.room.height;
    const bool rowTooWide = buttonRowWidth > in.room.width - (tooHigh ? in.scrollBarExtent : 0);
    if (rowTooWide) {
        arrange(true);
        r.arrangement = PixelArrangement::StackedButtons;
        if (FitsInto(r.view.client, in.room))
            return r;
    }
    // Too small still: the arrangement of the last step, scrolled.
    r.arrangement = PixelArrangement::Scrolled;
    r.view = FitByScrolling(r.view.client, in.room, in.scrollBarExtent);
    return r;
}

void ButtonLeftsFor(int clientWidth, PixelLayoutResult& r)
{
    if (r.buttonsStacked) {
        for (LayoutRect& b : r.button)
            b.left = HalfOf(clientWidth - b.width);
        return;
    }
    // Equal gaps left of, between and right of the two buttons (C++ division truncates toward zero).
    r.button[0].left = (clientWidth - 2 * r.button[0].width) / 3;
    r.button[1].left = 2 * r.button[0].left + r.button[0].width;
}
