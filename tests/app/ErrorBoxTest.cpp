// The central error box: an exception that escapes a handler ends only that
// handler, is shown, and the program goes on. Runs under the program's own
// application object, so it has its own main.
#include "WindowTestSupport.h"

#include "app/ZarnolithApplication.h"
#include "settings/ERegistryException.h"
#include "ui/MessageBoxDisplay.h"
#include "support/PrivateUserRegistry.h"
#include "util/IntegerText.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ios>
#include <new>

using namespace windowtest;

namespace {

struct RecordedBoxes final : IErrorBox {
    QStringList messages;
    void ShowException(const QString& message) override { messages << message; }
};

TEST(ErrorBox, ExceptionFromAClickIsShownAndTheLoopGoesOn)
{
    RecordedBoxes boxes;
    QPushButton button(QStringLiteral("x"));
    struct Command {
        int clicks = 0;
        void run()
        {
            if (++clicks == 1)
                throw util::EConvertError("'abc' ist kein gültiger Integerwert");
        }
    } command;
    QObject::connect(&button, &QPushButton::clicked, ZarnolithApplication::GuardedSlot(&command, &Command::run, boxes));
    button.show();
    // The error stops at the command, so the toolkit's release handling around it
    // runs to its end and reports the release as handled.
    QTest::mousePress(&button, Qt::LeftButton);
    const QPointF centre = QRectF(button.rect()).center();
    QMouseEvent release(QEvent::MouseButtonRelease, centre, button.mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    EXPECT_TRUE(QApplication::sendEvent(&button, &release));
    QTest::mouseClick(&button, Qt::LeftButton);
    const int clicks = command.clicks;
    bool timerRan = false;
    QTimer::singleShot(0, [&timerRan] { timerRan = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return timerRan; }, 2000));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(boxes.messages, QStringList{QStringLiteral("'abc' ist kein gültiger Integerwert")});
}

TEST(ErrorBox, BadStartValueEndsTheCalculationBeforeAnythingIsWritten)
{
    RecordedBoxes boxes;
    Windows w(boxes);
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1920"), QStringLiteral("1080")), TPixelForm::mrOk);
    w.form->Edit2->setText(QStringLiteral("1O80")); // not an integer text
    overtype(w.form->SpinEdit1, QStringLiteral("8"));
    EXPECT_EQ(boxes.messages, QStringList{QStringLiteral("'1O80' ist kein gültiger Integerwert")});
    EXPECT_EQ(w.form->SpinEdit2->text(), QStringLiteral("1080"));
    EXPECT_EQ(w.form->SpinEdit1->text(), QStringLiteral("8"));
}

TEST(ErrorBox, FailedSeedingLeavesTheCalculationWired)
{
    RecordedBoxes boxes;
    Windows w(boxes);
    ASSERT_EQ(enterStartValues(*w.form, QStringLiteral("1024"), QStringLiteral("768")), TPixelForm::mrOk);
    w.form->Edit1->setText(QStringLiteral("zehn"));
    // Through the button, so the error travels through the event loop as in use.
    QTest::mouseClick(w.form->Button1, Qt::LeftButton);
    ASSERT_EQ(boxes.messages, QStringList{QStringLiteral("'zehn' ist kein gültiger Integerwert")});
    EXPECT_FALSE(PixelForm->isVisible());
    w.form->Edit1->setText(QStringLiteral("1024"));
    overtype(w.form->SpinEdit1, QStringLiteral("800"));
    EXPECT_EQ(w.form->SpinEdit2->text(), QStringLiteral("600"));
}

TEST(ErrorBox, FailedSettingsLoadAtShowingIsReportedAndNoDialogOpens)
{
    struct FormWithBrokenStore : TForm1 {
        using TForm1::TForm1;
        void LoadDisplaySettings() override { throw util::EConvertError("Ungültiger Datentyp für 'FontSize'"); }
    };
    RecordedBoxes boxes;
    FormWithBrokenStore form(nullptr, platform::SystemBeep(), platform::SystemScreenArea(), boxes);
    TPixelForm pixel(&form);
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.messages.isEmpty(); }, 2000));
    QTest::qWait(30); // longer than the start-up timer would take
    EXPECT_EQ(boxes.messages, QStringList{QStringLiteral("Ungültiger Datentyp für 'FontSize'")});
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(pixel.isVisible());
    EXPECT_EQ(pixel.result(), 0) << "the start-values dialog never opened";
}

TEST(ErrorBox, LibraryTextsNeverReachTheBoxOurOwnDo)
{
    struct Case {
        std::function<void()> thrower;
        QString message;
    };
    const Case cases[] = {
        {[] { throw std::ios_base::failure("basic_filebuf::underflow error reading the file: Is a directory"); },
         QStringLiteral("Unbekannter Fehler")},
        {[] { throw std::bad_alloc(); }, QStringLiteral("Nicht genügend Arbeitsspeicher.")},
        {[] { throw std::filesystem::filesystem_error("cannot rename", std::make_error_code(std::errc::io_error)); },
         QStringLiteral("Unbekannter Fehler")},
        {[] { throw settings::ERegistryException("Fehler beim Setzen der Daten für 'HintColor'"); },
         QStringLiteral("Fehler beim Setzen der Daten für 'HintColor'")},
        {[] { throw util::EConvertError("'x' ist kein gültiger Integerwert"); },
         QStringLiteral("'x' ist kein gültiger Integerwert")},
    };
    for (const Case& testCase : cases) {
        RecordedBoxes boxes;
        ZarnolithApplication::Guarded(testCase.thrower, boxes);
        EXPECT_EQ(boxes.messages, QStringList{testCase.message});

        // The same when the settings load at the first showing ends with it.
        struct FormThatThrows : TForm1 {
            using TForm1::TForm1;
            std::function<void()> thrower;
            void LoadDisplaySettings() override { thrower(); }
        } form(nullptr, platform::SystemBeep(), platform::SystemScreenArea(), boxes);
        form.thrower = testCase.thrower;
        TPixelForm pixel(&form);
        form.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.messages.size() == 2; }, 2000));
        EXPECT_EQ(boxes.messages.value(1), testCase.message);
    }
}

TEST(ErrorBox, TheRealBoxIsModalWithErrorIconTitleAndOneOk)
{
    QString title, text, buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    actInModal<QMessageBox>(
        [] { ZarnolithApplication::ShowException(QStringLiteral("'x' ist kein gültiger Integerwert")); },
        [&](QMessageBox& box) {
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            for (QAbstractButton* b : box.buttons())
                buttons += b->text() + QLatin1Char(';');
            ASSERT_FALSE(box.buttons().isEmpty());
            box.buttons().front()->click();
        });
    EXPECT_EQ(title, QStringLiteral("Fehler"));
    EXPECT_EQ(text, QStringLiteral("'x' ist kein gültiger Integerwert"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QStringLiteral("OK;"));
}

// The text a screen reader finds under the box: the names of its static texts.
QStringList TextsUnder(QAccessibleInterface* node)
{
    QStringList texts;
    if (!node)
        return texts;
    if (node->role() == QAccessible::StaticText)
        texts << node->text(QAccessible::Name);
    for (int i = 0; i < node->childCount(); ++i)
        texts += TextsUnder(node->child(i));
    return texts;
}

TEST(ErrorBox, AMessageIsShownAsItsCharactersNotAsMarkup)
{
    const QString message = QStringLiteral("Zeile <b>4</b>: <a href=\"x\">Wert</a> fehlt");
    int shownWidth = 0, textWidth = 0;
    QStringList read;
    actInModal<QMessageBox>([&] { ZarnolithApplication::ShowException(message); },
                            [&](QMessageBox& box) {
                                auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                                ASSERT_NE(label, nullptr);
                                shownWidth = label->sizeHint().width();
                                textWidth = label->fontMetrics().horizontalAdvance(message);
                                read = TextsUnder(QAccessible::queryAccessibleInterface(&box));
                                box.buttons().front()->click();
                            });
    EXPECT_GE(shownWidth, textWidth) << "every character drawn";
    EXPECT_TRUE(read.contains(message)) << read.join(QLatin1Char('|')).toStdString();
}

// A box larger than the screen at a large display font: it fits the screen,
// its button in view; its text wraps and scrolls and is still the box's text
// for a screen reader.
TEST(ErrorBox, ABoxTooLargeForTheScreenFitsAndItsTextIsStillReadAsItsText)
{
    TFont font;
    font.Name = QStringLiteral("Arial");
    font.setSize(72);
    SetMessageBoxDisplay(font, ColorValue{0x00FFFFFFu});
    QStringList lines;
    for (int i = 1; i <= 13; ++i)
        lines << QStringLiteral("Zeile %1 einer langen Meldung, breiter als der Bildschirm es ist").arg(i);
    const QString message = lines.join(QLatin1Char('\n'));
    QRect outer, area, button;
    bool scrolls = false, wraps = false;
    QStringList read;
    actInModal<QMessageBox>([&] { ZarnolithApplication::ShowException(message); },
                            [&](QMessageBox& box) {
                                area = box.screen()->availableGeometry();
                                outer = box.frameGeometry();
                                button = QRect(box.buttons().front()->mapToGlobal(QPoint(0, 0)),
                                               box.buttons().front()->size());
                                auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                                ASSERT_NE(label, nullptr);
                                wraps = label->wordWrap() && label->height() >= label->heightForWidth(label->width());
                                if (auto* view = box.findChild<QScrollArea*>())
                                    scrolls = view->verticalScrollBar()->isVisible();
                                read = TextsUnder(QAccessible::queryAccessibleInterface(&box));
                                box.buttons().front()->click();
                            });
    ClearMessageBoxDisplay();
    EXPECT_TRUE(area.contains(outer)) << outer.width() << "x" << outer.height() << " in " << area.width() << "x"
                                      << area.height();
    EXPECT_TRUE(area.contains(button));
    EXPECT_TRUE(wraps);
    EXPECT_TRUE(scrolls);
    EXPECT_TRUE(read.contains(message)) << read.join(QLatin1Char('|')).toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const PrivateUserRegistry registry; // the settings the windows load and save
    ZarnolithApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
