#include "app/MainLayout.h"

#include <algorithm>

using namespace mainlayout;

namespace {

bool unlimited(const LayoutSize& room) { return room.width <= 0 || room.height <= 0; }

// The status bar and the button below the rows whose lowest field ends at `rowsBottom`.
void finish(MainLayoutResult& r, int rowsBottom, int statusHeight)
{
    r.statusHeight = statusHeight;
    r.button.top = rowsBottom + Margin;
    r.button.left = ButtonLeftFor(r.clientWidth, r.button.width);
    r.clientHeight = r.button.top + r.button.height + BelowButton + r.statusHeight;
    r.view.client = {r.clientWidth, r.clientHeight};
}

// The columns one above the other: four rows of label and field (start
// width, new width, start height, new height), the labels in one column.
void stack(MainLayoutResult& r, const MainLayoutInput& in)
{
    int labelColumn = 0;
    for (const LayoutRect& l : r.label)
        labelColumn = std::max(labelColumn, l.width);
    const int fieldLeft = Margin + labelColumn + LabelGap;
    // In the order the Tab key visits the fields' columns.
    LayoutRect* fields[4] = {&r.edit[0], &r.spin[0], &r.edit[1], &r.spin[1]};
    LayoutRect* labels[4] = {&r.label[0], &r.label[2], &r.label[1], &r.label[3]};
    int top = Margin;
    for (int i = 0; i < 4; ++i) {
        LayoutRect& f = *fields[i];
        LayoutRect& l = *labels[i];
        const int rowHeight = std::max(f.height, l.height);
        f.top = top + HalfOf(rowHeight - f.height);
        f.left = fieldLeft;
        l.left = Margin;
        l.top = f.top + HalfOf(f.height - l.height);
        top += rowHeight + Margin;
    }
    const int rowsWidth = fieldLeft + r.edit[0].width + Margin;
    r.clientWidth = std::max({rowsWidth, r.button.width + 2 * Margin, in.statusWordRoom});
    const int statusHeight = in.statusHeightFor ? in.statusHeightFor(r.clientWidth) : r.statusHeight;
    r.statusWrapped = static_cast<bool>(in.statusHeightFor);
    finish(r, top - Margin, statusHeight);
}

} // namespace

MainLayoutResult ComputeMainLayout(const MainLayoutInput& in)
{
    MainLayoutResult r;
    r.statusHeight = in.statusHeight;
    r.button.width = std::max(ButtonWidth, in.buttonRoom);
    r.button.height = in.buttonHeight;

    const int fieldWidth = std::max(FieldWidth, in.fieldRoom);
    for (int i = 0; i < 2; ++i) {
        r.edit[i].height = in.editHeight[i];
        r.edit[i].width = fieldWidth;
        r.spin[i].height = in.spinHeight[i];
        r.spin[i].width = fieldWidth;
    }
    for (int i = 0; i < 4; ++i) {
        r.label[i].width = in.label[i].width;
        r.label[i].height = in.label[i].height;
    }
    LayoutRect& l1 = r.label[0];
    LayoutRect& l2 = r.label[1];
    LayoutRect& l3 = r.label[2];
    LayoutRect& l4 = r.label[3];
    LayoutRect& e1 = r.edit[0];
    LayoutRect& e2 = r.edit[1];
    LayoutRect& s1 = r.spin[0];
    LayoutRect& s2 = r.spin[1];

    e1.top = Margin;
    e2.top = e1.top;
    s1.top = e1.top + e1.height + Margin;
    s2.top = s1.top;

    l1.left = Margin;
    l3.left = l1.left;
    l1.top = e1.top + HalfOf(e1.height - l1.height);
    l3.top = s1.top + HalfOf(s1.height - l3.height);

    e1.left = l1.left + std::max(l1.width, l3.width) + LabelGap;
    s1.left = e1.left;

    l2.left = e1.left + e1.width + Margin;
    l4.left = l2.left;
    l2.top = e2.top + HalfOf(e2.height - l2.height);
    l4.top = s2.top + HalfOf(s2.height - l4.height);

    e2.left = l2.left + std::max(l2.width, l4.width) + LabelGap;
    s2.left = e2.left;

    r.clientWidth = std::max(e2.left + e2.width + Margin, in.statusRoom);
    r.button.top = s1.top + s1.height + Margin;
    r.button.left = ButtonLeftFor(r.clientWidth, r.button.width);
    r.clientHeight = r.button.top + r.button.height + BelowButton + r.statusHeight;
    r.view.client = {r.clientWidth, r.clientHeight};
    if (unlimited(in.room) || FitsInto(r.view.client, in.room))
        return r;

    // The grid with the hint wrapped into the grid's width.
    if (in.statusHeightFor) {
        MainLayoutResult wrapped = r;
        wrapped.clientWidth = std::max({e2.left + e2.width + Margin, r.button.width + 2 * Margin, in.statusWordRoom});
        wrapped.statusWrapped = true;
        wrapped.arrangement = MainArrangement::GridWrappedHint;
        finish(wrapped, s1.top + s1.height, in.statusHeightFor(wrapped.clientWidth));
        if (FitsInto(wrapped.view.client, in.room))
            return wrapped;
    }

    stack(r, in);
    r.arrangement = MainArrangement::Stacked;
    if (FitsInto(r.view.client, in.room))
        return r;
    r.arrangement = MainArrangement::Scrolled;
    r.view = FitByScrolling({r.clientWidth, r.clientHeight}, in.room, in.scrollBarExtent);
    return r;
}

int ButtonLeftFor(int clientWidth, int buttonWidth) { return HalfOf(clientWidth - buttonWidth); }

LayoutPoint MainWindowPosition(const LayoutRect& workArea, const LayoutSize& outer, bool maximised)
{
    if (maximised)
        return {workArea.left, workArea.top};
    return {workArea.left + HalfOf(workArea.width - outer.width),
            workArea.top + HalfOf(workArea.height - outer.height)};
}

LayoutPoint ScreenCentrePosition(const LayoutRect& workArea, const LayoutSize& outer, const LayoutRect& desktop)
{
    LayoutPoint p = MainWindowPosition(workArea, outer, false);
    p.x = std::max(p.x, desktop.left);
    p.y = std::max(p.y, desktop.top);
    return p;
}
