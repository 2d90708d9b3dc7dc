// Every window at every display font a low-vision user may choose (8 to 72
// points), on a 1920 x 1080 screen (or the one ZARNOLITH_TEST_SCREEN names)
// with a real window manager (openbox), at the display scale this process
// runs with (QT_SCALE_FACTOR): each window's outer rectangle, frame and title
// bar included, lies inside the work area as the window manager shows it;
// every control is inside its window, or inside a scrolling client that
// brings it into view when it takes the keyboard; no control covers another
// and no text is cut. Set ZARNOLITH_LOWVISION_SHOTS to a directory to keep a
// screenshot of each window.
#include "desktop/X11Probe.h"
#include "support/ModalLoop.h"
#include "support/PlatformStandIns.h"
#include "app/TextRoomProbe.h"
#include "ui/DialogPlacement.h"

#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "app/ZarnolithApplication.h"
#include "appearance/FontWindow.h"
#include "appearance/THintergrundForm.h"
#include "appearance/TListBox.h"
#include "help/HistoryViewer.h"
#include "settings/FileRegistry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

using desktoptest::X11Probe;
using windowtest::ExpectNoSiblingOverlap;
using windowtest::ExpectWindowTextsWhole;

constexpr int Patience = 10000; // ms; only a failing check waits that long
// Inside a modal loop, less than the loop allows its action, so that a window
// that does not settle is reported as such rather than as a stuck action.
constexpr int ModalPatience = modaltest::CloseLimitMs * 3 / 5;

std::string Describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// A rectangle of Qt's scaled coordinates in the device pixels the X server counts.
QRect ToDevice(const QRect& r, qreal ratio)
{
    const QPoint tl(qRound(r.left() * ratio), qRound(r.top() * ratio));
    const QPoint br(qRound((r.right() + 1) * ratio), qRound((r.bottom() + 1) * ratio));
    return QRect(tl, br - QPoint(1, 1));
}

std::string Describe(const QMargins& m)
{
    return QStringLiteral("%1,%2,%3,%4").arg(m.left()).arg(m.top()).arg(m.right()).arg(m.bottom()).toStdString();
}

// A device value in Qt's scaled coordinates, rounded as Qt converts the
// geometry the window system reports.
int FromDevice(int v, qreal ratio) { return qRound(v / ratio); }

// Whether Qt's idea of the window is the window manager's: the client
// rectangle and the frame around it, each value the device value converted
// as Qt converts it. A device value that Qt's scaled coordinates can express
// is matched exactly; one they cannot (at 1.5 a client at x = 610 lies between
// Qt's 406 and 407, at 609 and 611) matches the scaled value nearest to it,
// which is what Qt itself takes it for. A window of one fixed
// size has taken it to the device pixel: a window manager that rounds it (or,
// busy, still reports the size from before the font change) has not.
bool ShownAsQtHasIt(const QWidget& window, const QRect& client, const QMargins& frame)
{
    const qreal ratio = window.devicePixelRatioF();
    const QRect qt = window.geometry();
    const QRect qtFrame = window.frameGeometry();
    const QMargins qtMargins(qt.left() - qtFrame.left(), qt.top() - qtFrame.top(), qtFrame.right() - qt.right(),
                             qtFrame.bottom() - qt.bottom());
    const bool fixed = window.minimumSize() == window.maximumSize();
    return FromDevice(client.x(), ratio) == qt.x() && FromDevice(client.y(), ratio) == qt.y()
        && FromDevice(client.width(), ratio) == qt.width() && FromDevice(client.height(), ratio) == qt.height()
        && FromDevice(frame.left(), ratio) == qtMargins.left() && FromDevice(frame.top(), ratio) == qtMargins.top()
        && FromDevice(frame.right(), ratio) == qtMargins.right()
        && FromDevice(frame.bottom(), ratio) == qtMargins.bottom()
        && (!fixed || client.size() == window.minimumSize() * ratio);
}

// Whether the outer rectangle stands where the program last placed it (to the
// scaled pixel Qt's rounding of the frame allows); a window the program has
// not placed stands where the window manager puts it.
bool AtItsPlacement(const QWidget& window)
{
    const std::optional<QPoint> placed = LastPlacement(window);
    if (!placed)
        return true;
    const QPoint off = window.frameGeometry().topLeft() - *placed;
    return std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1;
}

QRect GlobalRect(const QWidget& w) { return QRect(w.mapToGlobal(QPoint(0, 0)), w.size()); }

// The controls the user reads or works: labels, fields, buttons, lists,
// status bars, text views (not the parts inside them).
bool IsControl(const QWidget& w)
{
    for (const QWidget* p = w.parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractItemView*>(p)
            || qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QPlainTextEdit*>(p))
            return false;
    if (qobject_cast<const QScrollBar*>(&w))
        return false;
    if (const auto* l = qobject_cast<const QLabel*>(&w))
        return !l->text().isEmpty();
    return qobject_cast<const QAbstractButton*>(&w) || qobject_cast<const QLineEdit*>(&w)
        || qobject_cast<const QComboBox*>(&w) || qobject_cast<const QAbstractItemView*>(&w)
        || qobject_cast<const QStatusBar*>(&w) || qobject_cast<const QPlainTextEdit*>(&w);
}

// A control that has the keyboard is in view: wholly, or, along a direction
// in which it is longer than the view, from its start edge on.
bool InView(const QRect& control, const QSize& view)
{
    const auto along = [](int start, int length, int viewLength) {
        return length <= viewLength ? start >= 0 && start + length <= viewLength : start >= 0 && start < viewLength;
    };
    return along(control.x(), control.width(), view.width()) && along(control.y(), control.height(), view.height());
}

// The scrolling clients the control lies in, the innermost first: a box that
// scrolls inside a window that scrolls lies in two.
std::vector<QScrollArea*> ScrollersOf(const QWidget& w)
{
    std::vector<QScrollArea*> chain;
    for (QWidget* p = w.parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto* s = qobject_cast<QScrollArea*>(p); s && s->widget() && s->widget()->isAncestorOf(&w))
            chain.push_back(s);
    return chain;
}

class Reach : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(probe.ok()) << "no X display";
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("ZARNOLITH_WINDOW_MANAGER")) << "runs in the openbox session";
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return probe.windowManagerRunning() && probe.windowManagerAnswers(); }, Patience));
        form = std::make_unique<TForm1>(nullptr, beep);
        pixel = std::make_unique<TPixelForm>(form.get(), beep);
        form->show();
        form->Timer1->stop(); // no start-up dialog: each window is shown here without its modal loop
        form->FontDialog1Font.setSize(GetParam());
        form->setHintergrundNr(form->HintergrundNr()); // as the font command applies it
        QApplication::processEvents();
        scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    }

    void TearDown() override
    {
        pixel.reset();
        form.reset();
    }

    // Waits until the window is shown where Qt put it, then checks it from outside and inside.
    // `patience`: how long the window manager may take to show it so. With
    // `atItsPlacement`, also until it stands where the program last placed it.
    void Check(QWidget& window, const QString& title, const QString& shotName = QString(), int patience = Patience,
               bool atItsPlacement = false)
    {
        SCOPED_TRACE(title.toStdString() + " at " + std::to_string(GetParam()) + " pt, scale " + scale.toStdString());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 30000));
        const qreal ratio = window.devicePixelRatioF();
        const int slack = int(std::ceil(ratio)); // Qt's scaled coordinates round to whole device pixels
        xcb_window_t w = XCB_WINDOW_NONE;
        QRect outer, shown;
        QMargins frame;
        const bool settled = QTest::qWaitFor(
            [&] {
                w = probe.find(title);
                const std::optional<QRect> c = w != XCB_WINDOW_NONE ? probe.client(w) : std::nullopt;
                const std::optional<QMargins> e = c ? probe.frameExtents(w) : std::nullopt;
                if (!e)
                    return false;
                shown = *c;
                frame = *e;
                outer = shown.marginsAdded(frame);
                return ShownAsQtHasIt(window, shown, frame) && (!atItsPlacement || AtItsPlacement(window));
            },
            patience);
        const std::optional<QPoint> placed = LastPlacement(window);
        EXPECT_TRUE(settled) << "the window manager shows its client at " << Describe(shown) << " in a frame of "
                             << Describe(frame) << ", Qt has it at " << Describe(window.geometry()) << " in "
                             << Describe(window.frameGeometry()) << " (scaled by " << ratio << "), laid out for "
                             << window.minimumWidth() << "x" << window.minimumHeight() << ", placed at "
                             << (placed ? std::to_string(placed->x()) + "," + std::to_string(placed->y())
                                        : std::string("no place"));
        const QRect workArea = probe.workArea();
        EXPECT_TRUE(workArea.contains(outer))
            << "outer " << Describe(outer) << " leaves the work area " << Describe(workArea);
        // Inner rectangles rounded to device pixels on their own may stick out by that rounding.
        const QRect client = ToDevice(GlobalRect(window), ratio).adjusted(-slack, -slack, slack, slack);

        bool scrolls = false;
        for (QWidget* c : window.findChildren<QWidget*>()) {
            if (!c->isVisibleTo(&window) || !IsControl(*c))
                continue;
            const std::string name = c->metaObject()->className() + std::string(" ") + c->objectName().toStdString();
            if (const std::vector<QScrollArea*> chain = ScrollersOf(*c); !chain.empty()) {
                // Reachable by scrolling: inside the scrolled content, each
                // scrolling box inside the content of the one around it, the
                // outermost view inside the window.
                const QWidget* inner = c;
                for (QScrollArea* s : chain) {
                    scrolls = scrolls || s->horizontalScrollBar()->isVisible() || s->verticalScrollBar()->isVisible();
                    const QRect r(inner->mapTo(s->widget(), QPoint(0, 0)), inner->size());
                    EXPECT_TRUE(s->widget()->rect().contains(r))
                        << (inner == c ? name : "the scrolling box of " + name) << " outside the scrolled content "
                        << s->accessibleName().toStdString();
                    inner = s;
                }
                const QRect outermost = ToDevice(GlobalRect(*chain.back()), ratio);
                EXPECT_TRUE(client.contains(outermost))
                    << "the scrolling client of " << name << " at " << Describe(outermost)
                    << " outside the window's client " << Describe(client);
                if (c->focusPolicy() & Qt::TabFocus) {
                    c->setFocus(Qt::TabFocusReason);
                    QApplication::processEvents();
                    for (QScrollArea* s : chain) {
                        const QRect inView(c->mapTo(s->viewport(), QPoint(0, 0)), c->size());
                        EXPECT_TRUE(InView(inView, s->viewport()->size()))
                            << name << " with the keyboard is not in view: " << Describe(inView) << " in a view of "
                            << s->viewport()->width() << "x" << s->viewport()->height();
                    }
                }
            } else {
                const QRect r = ToDevice(GlobalRect(*c), ratio);
                EXPECT_TRUE(client.contains(r)) << name << " at " << Describe(r) << " outside its window";
                EXPECT_TRUE(workArea.contains(r)) << name << " at " << Describe(r) << " off the work area";
            }
            if (const auto* l = qobject_cast<const QLabel*>(c); l && l->wordWrap()) {
                EXPECT_GE(l->height(), l->heightForWidth(l->width())) << name << ": wrapped text cut";
            }
            if (const auto* list = qobject_cast<const TListBox*>(c); list && list->currentItem()) {
                EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->currentItem())))
                    << "the selected colour is out of view";
            }
        }
        ExpectNoSiblingOverlap(window);
        ExpectWindowTextsWhole(window);
        Record(shotName.isEmpty() ? title : shotName, outer, scrolls);
    }

    // One line per window for the record, and a screenshot where asked for.
    void Record(const QString& title, const QRect& outer, bool scrolls)
    {
        std::printf("reach: scale %s, %d pt, %s: %s%s\n", scale.toUtf8().constData(), GetParam(),
                    title.toUtf8().constData(), Describe(outer).c_str(), scrolls ? ", scrolls" : "");
        const QString dir = qEnvironmentVariable("ZARNOLITH_LOWVISION_SHOTS");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
        QPixmap(shot.copy(outer.intersected(QRect(QPoint(0, 0), shot.size()))))
            .save(QStringLiteral("%1/%2-scale%3-%4pt.png")
                      .arg(dir, QString(title).replace(QLatin1Char(' '), QLatin1Char('_')).left(24), scale)
                      .arg(GetParam()));
    }

    // A message box as the program opens it, checked inside its modal loop;
    // where its text scrolls, the keys that scroll a text reach the end of it
    // and its start again with the button keeping the focus. Closed with its
    // button.
    void CheckMessageBox(const QString& what, const std::function<void()>& open)
    {
        const modaltest::Outcome shown = modaltest::actInModal<QMessageBox>(open, [&](QMessageBox& box) {
            Check(box, box.windowTitle(), what, ModalPatience);
            QWidget* focus = box.focusWidget();
            ASSERT_NE(focus, nullptr);
            for (auto* view : box.findChildren<QScrollArea*>()) {
                QScrollBar* bar = view->verticalScrollBar();
                if (!bar->isVisible())
                    continue;
                QTest::keyClick(focus, Qt::Key_End);
                EXPECT_EQ(bar->value(), bar->maximum()) << "End reaches the text's last line";
                QTest::keyClick(focus, Qt::Key_PageUp);
                EXPECT_LT(bar->value(), bar->maximum());
                QTest::keyClick(focus, Qt::Key_Home);
                EXPECT_EQ(bar->value(), bar->minimum());
                EXPECT_EQ(box.focusWidget(), focus);
            }
            ASSERT_FALSE(box.buttons().isEmpty());
            box.buttons().front()->click();
        });
        EXPECT_TRUE(shown.shown);
    }

    X11Probe probe;
    standin::CountingBeep beep;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TPixelForm> pixel;
    QString scale;
};

// The font change lays the window out anew and moves it back into the work
// area. Qt and the window manager agree also on a place it only passes
// through: the new size is reported ahead of the move, at the old place.
TEST_P(Reach, MainWindowAfterAFontChange) { Check(*form, form->windowTitle(), QString(), Patience, true); }

TEST_P(Reach, StartValuesDialog)
{
    pixel->SchriftartZuweisen();
    pixel->show();
    Check(*pixel, pixel->windowTitle());
}

TEST_P(Reach, BackgroundDialogWithTheLastColourSelected)
{
    THintergrundForm& d = *form->HintergrundForm();
    d.SchriftartZuweisen(*AnzeigeSchrift, AnzeigeHintergrund);
    d.ListBox1->setItemIndex(18); // "Braun", the last
    d.show();
    Check(d, d.windowTitle());
}

TEST_P(Reach, ChangeHistoryViewerCentredInTheWorkArea)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("History.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < 60; ++i)
        file.write("V1.01: Anzeige in der gewählten Schrift und Hintergrundfarbe\n");
    file.close();
    auto* viewer = new help::HistoryViewer(file.fileName(), form->FontDialog1Font, AnzeigeHintergrund, form.get());
    viewer->show();
    Check(*viewer, viewer->windowTitle());
    // Placed as the other windows are: centred in the work area (outer size).
    const qreal ratio = viewer->devicePixelRatioF();
    const QRect outer = probe.outer(probe.find(viewer->windowTitle())).value_or(QRect());
    const QRect wa = probe.workArea();
    const int slack = 2 * int(std::ceil(ratio));
    EXPECT_NEAR(outer.x(), wa.x() + (wa.width() - outer.width()) / 2, slack);
    EXPECT_NEAR(outer.y(), wa.y() + (wa.height() - outer.height()) / 2, slack);
    viewer->close();
}

// The program's three message boxes: an error, the notice about a damaged
// settings file and the program information (thirteen lines).
TEST_P(Reach, ErrorBox)
{
    CheckMessageBox(QStringLiteral("Fehler"), [] {
        ZarnolithApplication::ShowException(
            QStringLiteral("Fehler beim Holen der Daten für 'FontSize': der Wert ist kein gültiger Integerwert"));
    });
}

TEST_P(Reach, DamagedSettingsNotice)
{
    const std::filesystem::path file = settings::FileRegistry::DefaultFile();
    std::filesystem::create_directories(file.parent_path());
    char size[16];
    std::snprintf(size, sizeof size, "%08x", GetParam());
    std::ofstream(file, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n"
                                             "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                                             "\"FontName\"=\"Arial\"\r\n\"FontSize\"=dword:"
                                          << size << "\r\n\"FontColor\"=kaputt\r\n\"HintColor\"=\r\n";
    form->RegistryLadenSpeichern(true);
    ASSERT_EQ(form->FontDialog1Font.Size(), GetParam()) << "the readable values are taken";
    CheckMessageBox(QStringLiteral("Settings notice"), [&] { form->ShowSettingsNotice(); });
}

TEST_P(Reach, ProgramInformation)
{
    CheckMessageBox(QStringLiteral("Programm-Info"), [&] { form->MenuHilfeinfoClick(); });
}

// The font dialog lays itself out; it is checked here on the same terms.
TEST_P(Reach, FontDialog)
{
    FontWindow d(*AnzeigeSchrift, form.get());
    d.show();
    Check(d, d.windowTitle());
}

INSTANTIATE_TEST_SUITE_P(Points, Reach, ::testing::Values(8, 14, 28, 48, 72));

} // namespace
