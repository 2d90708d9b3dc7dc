// The font window for a user with low vision: its texts in the display font
// at every size, a window that fits the work area (frame and title bar
// included) and scrolls where its controls need more room, a focus that stays
// in view and shows on every Tab stop of its own, and check boxes and colour
// swatches as large as the text. The same cases run at display scales 1.5 and
// 3 on a 1920x1080 screen, offscreen and under openbox (tests/appearance/CMakeLists.txt).
#include "app/FocusFrameStyle.h"
#include "app/TextRoomProbe.h"
#include "appearance/FontWindow.h"
#include "platform/X11Window.h"
#include "ui/DialogPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// The relative luminance and contrast ratio of two colours, as WCAG defines them.
double luminance(QRgb c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TFont displayFont(int points)
{
    TFont f;
    f.Name = QStringLiteral("Liberation Sans");
    f.setSize(points);
    return f;
}

// The window shown and active, over an owner as the font command has it.
struct ShownWindow {
    explicit ShownWindow(int points) : font(displayFont(points)), window((waitForWindowManager(), font), &owner)
    {
        owner.resize(300, 200);
        owner.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&owner));
        window.setWindowModality(Qt::ApplicationModal); // as the font command shows it
        window.show();
        // A window manager frames the window after mapping it: wait until Qt has heard of it.
        if (qEnvironmentVariableIsSet("ZARNOLITH_WINDOW_MANAGER")) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 5000));
        }
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // In a session with a window manager, one that frames windows before the
    // first of them is made (the session may still be starting it).
    static void waitForWindowManager()
    {
        static bool ready = false;
        if (ready || !qEnvironmentVariableIsSet("ZARNOLITH_WINDOW_MANAGER"))
            return;
        QWidget probe;
        const auto id = static_cast<std::uintptr_t>(probe.winId());
        ready = QTest::qWaitFor(
            [&] {
                const std::optional<platform::FrameExtents> e = platform::X11FrameExtents(id);
                return e && e->top > 0;
            },
            10000);
        EXPECT_TRUE(ready) << "no window manager framed a window";
    }
    QWidget owner;
    TFont font;
    FontWindow window;

    QScrollArea* outerArea() const
    {
        for (QScrollArea* a : window.findChildren<QScrollArea*>())
            if (a->widget() && a->widget()->isAncestorOf(window.NameEdit))
                return a;
        return nullptr;
    }
    QScrollArea* sampleArea() const
    {
        for (QScrollArea* a : window.findChildren<QScrollArea*>())
            if (a->widget() == window.Sample)
                return a;
        return nullptr;
    }
};

// The controls the Tab key visits, from the focus round to it again.
std::vector<QWidget*> tabRound()
{
    std::vector<QWidget*> stops;
    QWidget* const first = QApplication::focusWidget();
    for (QWidget* w = first; w && stops.size() < 40; w = QApplication::focusWidget()) {
        if (!stops.empty() && w == first)
            break;
        stops.push_back(w);
        QTest::keyClick(w, Qt::Key_Tab);
    }
    return stops;
}

std::string describe(const QWidget* w)
{
    return (w->metaObject()->className() + QStringLiteral(" ") + w->accessibleName() + QStringLiteral(" ")
            + w->property("text").toString())
        .toStdString();
}

class FontWindowFit : public ::testing::TestWithParam<int> {};

// The user chose a large font because they need it: every text of the window
// is drawn at the display font's size, however large, never shrunk to fit.
TEST_P(FontWindowFit, EveryTextHasTheDisplayFontSize)
{
    const TFont font = displayFont(GetParam());
    FontWindow window(font);
    const int pixels = font.AppliedPixelHeight();
    int texts = 0;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLineEdit*>(w)
            && !qobject_cast<QComboBox*>(w) && !qobject_cast<QListWidget*>(w) && !qobject_cast<QGroupBox*>(w))
            continue;
        ++texts;
        EXPECT_EQ(w->font().pixelSize(), pixels) << describe(w);
        EXPECT_EQ(QFontInfo(w->font()).pixelSize(), pixels) << describe(w);
    }
    EXPECT_GE(texts, 17);
    RecordProperty("text_pixels", pixels);
}

// The window, frame and title bar included, lies inside the work area; no
// control covers another and none cuts its text off.
TEST_P(FontWindowFit, WindowFitsTheWorkAreaWithEveryTextWhole)
{
    ShownWindow shown(GetParam());
    FontWindow& w = shown.window;
    const QRect workArea = w.screen()->availableGeometry();
    // A window manager may still be placing it.
    QTest::qWaitFor([&] { return workArea.contains(OuterGeometry(w)); }, 3000);
    const QRect outer = OuterGeometry(w);
    EXPECT_TRUE(workArea.contains(outer))
        << "window " << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height()
        << " in the work area " << workArea.width() << "x" << workArea.height() << " client " << w.x() << "," << w.y()
        << " " << w.width() << "x" << w.height();
    // Scroll bars only where the work area is too small for the window.
    QScrollArea* area = shown.outerArea();
    ASSERT_TRUE(area);
    const QSize content = area->widget()->minimumSizeHint();
    const QSize room = workArea.size() - (outer.size() - w.size());
    if (content.width() + 64 < room.width() && content.height() + 64 < room.height()) {
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible())
            << "content " << content.width() << " in the view " << area->viewport()->width();
        EXPECT_FALSE(area->verticalScrollBar()->isVisible())
            << "content " << content.height() << " in the view " << area->viewport()->height();
    }
    windowtest::ExpectNoSiblingOverlap(w);
    windowtest::ExpectWindowTextsWhole(w);
    RecordProperty("window", QStringLiteral("%1x%2").arg(outer.width()).arg(outer.height()).toStdString());
}

// Whatever the Tab key reaches comes into view: the whole control where the
// view can hold it, otherwise as much of it as the view holds, from its start
// (the left and top edges, where its text begins).
TEST_P(FontWindowFit, TabBringsEveryControlIntoView)
{
    ShownWindow shown(GetParam());
    FontWindow& w = shown.window;
    QScrollArea* area = shown.outerArea();
    ASSERT_TRUE(area);
    QWidget* view = area->viewport();
    w.NameEdit->setFocus(Qt::TabFocusReason);
    const std::vector<QWidget*> round = tabRound();
    EXPECT_GE(round.size(), 13u);
    for (std::size_t i = 0; i <= round.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus);
        if (focus != area && area->isAncestorOf(focus)) {
            const QRect r(focus->mapTo(view, QPoint(0, 0)), focus->size());
            const QRect seen = r.intersected(view->rect());
            EXPECT_EQ(seen.width(), std::min(r.width(), view->width())) << describe(focus);
            EXPECT_EQ(seen.height(), std::min(r.height(), view->height())) << describe(focus);
            EXPECT_EQ(seen.topLeft(), r.topLeft()) << describe(focus);
        }
        QTest::keyClick(focus, Qt::Key_Tab);
    }
}

// The focus shows on the window's own Tab stops, the outer scroll area and the
// sample box: a line all round, at least 2 pixels and more with a larger
// font, at 3:1 or more against what is there without the focus and against
// the window's background.
TEST_P(FontWindowFit, ScrollAreasShowTheirFocus)
{
    ShownWindow shown(GetParam());
    FontWindow& w = shown.window;
    const QRgb background = w.palette().color(QPalette::Window).rgb();
    for (QScrollArea* area : {shown.outerArea(), shown.sampleArea()}) {
        ASSERT_TRUE(area);
        SCOPED_TRACE(area->accessibleName().toStdString());
        area->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(area->hasFocus());
        const QImage focused = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The same view without the focus: nothing else takes it, so nothing scrolls.
        area->clearFocus();
        const QImage plain = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Device pixels of the grab, back to the window's coordinates.
        const qreal dpr = focused.devicePixelRatio();
        const QRect r(area->mapTo(&w, QPoint(0, 0)), area->size());
        const auto marks = [&](int x, int y) {
            const QPoint p(std::lround(x * dpr), std::lround(y * dpr));
            const QRgb f = focused.pixel(p), u = plain.pixel(p);
            return contrast(f, u) >= 3.0 && contrast(f, background) >= 3.0;
        };
        // The part of the area the window shows (the sample box within the outer
        // area's view), widened by half a line: the focus may be shown round the area.
        const int line = QFontMetrics(w.font()).height();
        QWidget* outerView = shown.outerArea()->viewport();
        const QRect view
            = area == shown.outerArea() ? w.rect() : QRect(outerView->mapTo(&w, QPoint(0, 0)), outerView->size());
        const QRect region = r.adjusted(-line / 2, -line / 2, line / 2, line / 2).intersected(view);
        ASSERT_FALSE(region.isEmpty());
        // The focus line's width on one side, across the middle of that side:
        // from the edge of the region inward, the first run of marked pixels.
        const auto depth = [&](QPoint from, QPoint step) {
            QPoint p = from;
            while (region.contains(p) && !marks(p.x(), p.y()) && (p - from).manhattanLength() < line)
                p += step;
            int n = 0;
            for (; region.contains(p) && marks(p.x(), p.y()); p += step)
                ++n;
            return n;
        };
        const int least = std::max(2, line / 16);
        const QPoint mid = r.intersected(view).center();
        EXPECT_GE(depth({mid.x(), region.top()}, {0, 1}), least) << "top";
        EXPECT_GE(depth({mid.x(), region.bottom()}, {0, -1}), least) << "bottom";
        EXPECT_GE(depth({region.left(), mid.y()}, {1, 0}), least) << "left";
        EXPECT_GE(depth({region.right(), mid.y()}, {-1, 0}), least) << "right";
        RecordProperty(area == shown.outerArea() ? "outer_focus_width" : "sample_focus_width",
                       depth({region.left(), mid.y()}, {1, 0}));
    }
}

// Check boxes and colour swatches are as large as the text beside them: at
// least the height of its capital letters, and at least 24 pixels at large sizes.
// The check boxes take their size from the program's style, which the
// program's application object installs.
TEST_P(FontWindowFit, CheckBoxesAndSwatchesGrowWithTheText)
{
    const TFont font = displayFont(GetParam());
    FocusFrameStyle programStyle;
    FontWindow w(font);
    const QFontMetrics fm(w.font());
    const int least = GetParam() >= 28 ? std::max(24, fm.capHeight()) : fm.capHeight();
    for (QCheckBox* box : {w.StruckOut, w.Underlined}) {
        box->setStyle(&programStyle);
        QStyleOptionButton o;
        o.initFrom(box);
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &o, box);
        EXPECT_GE(indicator.width(), least) << box->text().toStdString();
        EXPECT_GE(indicator.height(), least) << box->text().toStdString();
        RecordProperty("check_box", indicator.width());
    }
    const QSize icon = w.ColorBox->iconSize();
    EXPECT_GE(icon.width(), least);
    EXPECT_GE(icon.height(), least);
    for (int i = 0; i < w.ColorBox->count(); ++i)
        EXPECT_EQ(w.ColorBox->itemIcon(i).actualSize(icon), icon) << w.ColorBox->itemText(i).toStdString();
    RecordProperty("swatch", icon.width());
}

INSTANTIATE_TEST_SUITE_P(Points, FontWindowFit, ::testing::Values(8, 14, 28, 48, 72));

} // namespace
