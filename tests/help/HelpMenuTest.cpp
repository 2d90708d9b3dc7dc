#include "HelpTestEnvironment.h"

#include "help/HistoryViewer.h"
#include "support/ModalLoop.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using help::HelpMenu;

namespace {

enum class Entry { Missing, File, Directory };

struct StateRow {
    Entry history;
    Entry vellomat;
    bool changesEnabled;
    bool updateVisible;
};

class HelpMenuStateTest : public HelpTestEnvironment, public ::testing::WithParamInterface<StateRow> {
protected:
    void create(const QString& name, Entry e)
    {
        if (e == Entry::File)
            writeFile(programDirectory() + name, "x");
        else if (e == Entry::Directory)
            QDir().mkpath(programDirectory() + name);
    }
};

TEST_P(HelpMenuStateTest, ItemsFollowTheFilesBesideTheProgram)
{
    create("History.txt", GetParam().history);
    create("Vellomat.exe", GetParam().vellomat);
    const auto state = HelpMenu(environment()).State();
    EXPECT_EQ(state.changesEnabled, GetParam().changesEnabled);
    EXPECT_EQ(state.updateVisible, GetParam().updateVisible);
}

INSTANTIATE_TEST_SUITE_P(Rows, HelpMenuStateTest,
                         ::testing::Values(StateRow{Entry::Missing, Entry::Missing, false, false},
                                           StateRow{Entry::File, Entry::Missing, true, false},
                                           StateRow{Entry::Missing, Entry::File, false, true},
                                           StateRow{Entry::File, Entry::File, true, true},
                                           StateRow{Entry::Directory, Entry::Directory, false, false}));

TEST(HelpInfo, ThirteenLinesWithTitleFirstAndTheRealToolsLast)
{
    const QStringList lines = HelpMenu::InfoText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], QStringLiteral("Zarnolith V1.01"));
    EXPECT_EQ(lines[1], QStringLiteral("Anpassung von Bildpixel-Breite und -Höhe."));
    for (const QString& z : lines) {
        EXPECT_FALSE(z.trimmed().isEmpty());
        EXPECT_FALSE(z.contains(QLatin1Char('\n')) || z.contains(QLatin1Char('\r')));
    }
    static const QRegularExpression lastLine(QStringLiteral(
        "^Dieses Programm wurde mit Qt (\\d+\\.\\d+\\.\\d+) und (GCC|Clang) \\d+\\.\\d+[^%]* programmiert\\.$"));
    const auto match = lastLine.match(lines[12]);
    ASSERT_TRUE(match.hasMatch()) << lines[12].toStdString();
    EXPECT_EQ(match.captured(1), QStringLiteral(QT_VERSION_STR));
    // Only reserved example domains in the contact lines.
    static const QRegularExpression domain(QStringLiteral("[\\w.-]+\\.(org|com|de|net)\\b"));
    for (auto it = domain.globalMatch(HelpMenu::InfoText()); it.hasNext();) {
        const QString d = it.next().captured(0);
        EXPECT_TRUE(d.endsWith("example.org") || d.endsWith("example.com")) << d.toStdString();
    }
}

// GCC's releases of a major version start at .1 (x.0 are its development
// snapshots): a version x.0 names no compiler anybody built with, as the
// version macros of Debian's MinGW-w64 compilers ("12-posix") would have it.
TEST(HelpInfo, NamesTheCompilersReleaseAndNotADevelopmentNumber)
{
#if defined(__GNUC__) && !defined(__clang__)
    static const QRegularExpression gcc(QStringLiteral(" und GCC (\\d+)\\.(\\d+)\\.(\\d+)$"));
    const auto match = gcc.match(HelpMenu::DevelopmentTool());
    ASSERT_TRUE(match.hasMatch()) << HelpMenu::DevelopmentTool().toStdString();
    EXPECT_EQ(match.captured(1).toInt(), __GNUC__);
    EXPECT_NE(match.captured(2).toInt(), 0) << HelpMenu::DevelopmentTool().toStdString();
#else
    GTEST_SKIP() << "built with another compiler than GCC";
#endif
}

// Shows a box through the real surroundings, reads it and presses its button.
struct ShownBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttonList;
};

ShownBox readBox(const std::function<void()>& showBox)
{
    ShownBox readNr;
    modaltest::actInModal<QMessageBox>(showBox, [&](QMessageBox& box) {
        readNr = {box.windowTitle(), box.text(), box.icon(), {}};
        for (QAbstractButton* b : box.buttons())
            readNr.buttonList << b->text();
        ASSERT_FALSE(box.buttons().isEmpty());
        QTest::mouseClick(box.buttons().value(0), Qt::LeftButton);
    });
    return readNr;
}

TEST(HelpInfo, RealBoxesAreModalWithTitleIconAndOneOk)
{
    help::IHelpEnvironment& system = help::SystemHelpEnvironment();
    const ShownBox info = readBox([&] { HelpMenu(system).ShowInfo(nullptr); });
    EXPECT_EQ(info.title, QStringLiteral("Informationen"));
    EXPECT_EQ(info.icon, QMessageBox::Information);
    EXPECT_EQ(info.buttonList, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(info.text.split(QLatin1Char('\n')), HelpMenu::InfoText().split(QStringLiteral("\r\n")));

    const ShownBox failure = readBox([&] { system.ShowErrorBox(nullptr, QStringLiteral("a\r\nb")); });
    EXPECT_EQ(failure.title, QStringLiteral("Fehler"));
    EXPECT_EQ(failure.icon, QMessageBox::Critical);
    EXPECT_EQ(failure.buttonList, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(failure.text, QStringLiteral("a\nb"));
}

class HistoryViewerTest : public HelpTestEnvironment {
protected:
    TFont displayFont() const
    {
        TFont f;
        f.Name = "Liberation Serif";
        f.Height = -27;
        f.Color = ColorValue::fromRgb(0, 0, 128);
        return f;
    }
    static int windowWithTitle(const QString& title)
    {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->isVisible() && w->windowTitle() == title;
        return n;
    }
};

TEST_F(HistoryViewerTest, ShowsTheFileInTheDisplayFontOnTheBackgroundOnce)
{
    writeFile(programDirectory() + "History.txt", "\xEF\xBB\xBFVersion 1.01\r\n- H\xC3\xB6he\r\n");
    HelpMenu helpMenu(environment());
    const ColorValue yellow = ColorValue::fromRgb(255, 255, 0);

    QPointer<help::HistoryViewer> first = helpMenu.ShowChanges(nullptr, displayFont(), yellow);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("History.txt - Zarnolith"));
    EXPECT_EQ(first->toPlainText(), QStringLiteral("Version 1.01\n- Höhe\n"));
    EXPECT_TRUE(first->isReadOnly());
    EXPECT_EQ(first->font().pixelSize(), 27);
    EXPECT_EQ(first->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(first->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(first->palette().color(QPalette::Text), QColor(0, 0, 128));
    // Sized from the font: room for a few dozen characters of it.
    EXPECT_GE(first->width(), QFontMetrics(first->font()).averageCharWidth() * 40);

    first->showMinimized();
    help::HistoryViewer* second = helpMenu.ShowChanges(nullptr, displayFont(), yellow);
    EXPECT_EQ(second, first.data()) << "the second request must bring the open window to the front";
    EXPECT_FALSE(first->isMinimized());
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(windowWithTitle("History.txt - Zarnolith"), 1);

    QTest::keyClick(first, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "Esc closes the window";
    EXPECT_EQ(windowWithTitle("History.txt - Zarnolith"), 0);

    QPointer<help::HistoryViewer> third = helpMenu.ShowChanges(nullptr, displayFont(), yellow);
    EXPECT_TRUE(third && third->isVisible());
    delete third;
}

struct ReadingRow {
    QByteArray bytes;
    const char16_t* text;
};

class HistoryReadTest : public HelpTestEnvironment, public ::testing::WithParamInterface<ReadingRow> {};

TEST_P(HistoryReadTest, ReadsUtf8OrFallsBackToCodePage1252)
{
    const QString path = programDirectory() + "History.txt";
    writeFile(path, GetParam().bytes);
    EXPECT_EQ(help::HistoryViewer::ReadHistoryFile(path), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Rows, HistoryReadTest,
                         ::testing::Values(ReadingRow{"Gr\xC3\xB6\xC3\x9F"
                                                      "e\r\n\xE2\x82\xAC",
                                                      u"Größe\n€"},
                                           ReadingRow{"Gr\xF6\xDF"
                                                      "e\r\n\x80 \x84"
                                                      "a\rb",
                                                      u"Größe\n€ „a\nb"},
                                           ReadingRow{"", u""}));

TEST_F(HelpTestEnvironment, MissingHistoryFileShowsAMessageInsteadOfText)
{
    EXPECT_FALSE(help::HistoryViewer::ReadHistoryFile(programDirectory() + "History.txt").has_value());
    HelpMenu helpMenu(environment());
    QPointer<help::HistoryViewer> viewer = helpMenu.ShowChanges(nullptr, TFont{}, ColorValue{0xFFFFFF});
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->toPlainText().contains("konnte nicht gelesen werden"));
    delete viewer;
}

} // namespace
