// The program's own message boxes are read like its windows: their text in
// the display font, readable on the text background, their buttons in the
// display font's face and size, their icon grown with the font.
#include "ContrastSupport.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QMessageBox>

using namespace lowvision;

namespace {

struct BoxLook {
    int textPixels = 0;
    int buttonPixels = 0;
    int iconHeight = 0;
    TextReading text;
};

BoxLook readBox(const std::function<void()>& show)
{
    BoxLook look;
    modaltest::actInModal<QMessageBox>(show, [&](QMessageBox& box) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box, 30000));
        box.repaint();
        auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        look.textPixels
            = label->font().pixelSize() > 0 ? label->font().pixelSize() : QFontInfo(label->font()).pixelSize();
        // Where the text scrolls, what the user sees of it is in the view.
        QWidget* seen = label;
        if (QWidget* parent = label->parentWidget())
            if (auto* view = qobject_cast<QAbstractScrollArea*>(parent->parentWidget());
                view && view->viewport() == parent)
                seen = parent;
        const QRect shown = QRect(label->mapTo(seen, QPoint(0, 0)), label->size()).intersected(seen->rect());
        look.text = readText(shot(seen), shown);
        if (!qEnvironmentVariableIsEmpty("ZARNOLITH_TEST_SHOTS"))
            shot(&box).save(qEnvironmentVariable("ZARNOLITH_TEST_SHOTS")
                            + QStringLiteral("/box-%1-%2pt-%3.png")
                                  .arg(box.windowTitle())
                                  .arg(QFontInfo(label->font()).pointSize())
                                  .arg(QLatin1String(schemeName())));
        if (auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
            look.iconHeight = icon->pixmap().deviceIndependentSize().toSize().height();
        ASSERT_FALSE(box.buttons().isEmpty());
        look.buttonPixels = QFontInfo(box.buttons().value(0)->font()).pixelSize();
        QTest::mouseClick(box.buttons().value(0), Qt::LeftButton);
    });
    return look;
}

class MessageBoxDisplay : public ::testing::TestWithParam<int> {};

TEST_P(MessageBoxDisplay, ErrorAndInformationBoxesShowTheDisplayFontOnTheBackground)
{
    windowtest::Windows w;
    showMainWindow(w);
    setDisplayFont(GetParam());
    w.form->setHintergrundNr(0); // Schwarz: the system text colour would vanish on it
    const int pixels = AnzeigeSchrift->AppliedPixelHeight();
    const int line = QFontMetrics(AnzeigeSchrift->toQFont()).height();

    const BoxLook error = readBox([] { ZarnolithApplication::ShowException(QStringLiteral("Ein Fehler")); });
    const BoxLook info = readBox([&] { w.form->MenuHilfeinfoClick(); });
    for (const BoxLook* look : {&error, &info}) {
        SCOPED_TRACE(look == &error ? "Fehler" : "Programm-Info");
        EXPECT_EQ(look->textPixels, pixels);
        EXPECT_EQ(look->buttonPixels, pixels);
        EXPECT_EQ(look->text.background.rgb(), tableColour(0).rgb());
        EXPECT_GE(look->text.ratio, kReadableTextContrast);
        EXPECT_GE(look->iconHeight, std::min(2 * line, 2 * pixels)) << "the icon beside the text";
    }
}

INSTANTIATE_TEST_SUITE_P(Points, MessageBoxDisplay, ::testing::Values(14, 48));

} // namespace
