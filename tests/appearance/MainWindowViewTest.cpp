// The display settings in the main window: both commands confirmed and
// cancelled, what they save, the focus after the font command, a restart that
// shows the saved settings, a save that fails, and a start whose load applies nothing.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "app/ZarnolithApplication.h"
#include "appearance/ColorTable.h"
#include "appearance/FontWindow.h"
#include "appearance/THintergrundForm.h"
#include "appearance/TListBox.h"
#include "controls/TSpinEdit.h"
#include "support/ModalLoop.h"
#ifdef _WIN32
#include "settings/IRegistry.h"

#include <windows.h>
#else
#include "settings/FileRegistry.h"
#include "settings/RegDocument.h"
#endif

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace fs = std::filesystem;

namespace {

using modaltest::actInModal;

class MainWindowView : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
#ifdef _WIN32
        // Each test starts without stored settings (in the test process's own registry branch).
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Zarnolith");
#endif
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", oldXdg); }

    // Shown, loaded and laid out, without the start-values dialog that would open by itself.
    std::unique_ptr<TForm1> startForm()
    {
        auto form = std::make_unique<TForm1>(nullptr, platform::SystemBeep(), platform::SystemScreenArea(), errorBox);
        form->show();
        form->Timer1->stop();
        QApplication::setActiveWindow(form.get());
        return form;
    }

#ifdef _WIN32
    // The values stored under the program's key, as the registry holds them.
    std::size_t savedValues() const
    {
        std::unique_ptr<settings::IRegistry> reg = settings::CreateUserRegistry();
        if (!reg->OpenKey(u"\\Software\\Zarnolith", false))
            return 0;
        std::size_t n = 0;
        for (const char16_t* name :
             {u"FontName", u"FontSize", u"FontColor", u"FontCharSet", u"FontStyle", u"HintColor"})
            n += reg->QueryValueInfo(name).has_value() ? 1 : 0;
        reg->CloseKey();
        return n;
    }
#else
    std::optional<settings::RegDocument> savedDoc() const
    {
        std::ifstream in(settings::FileRegistry::DefaultFile(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return settings::RegDocument::parse(bytes);
    }
    std::size_t savedValues() const
    {
        std::optional<settings::RegDocument> doc = savedDoc();
        return doc && !doc->keys.empty() ? doc->keys[0].values.size() : 0;
    }
#endif

    QTemporaryDir dir;
    QByteArray oldXdg;
    // The windows show their errors here instead of in the modal box.
    struct ErrorList final : IErrorBox {
        QStringList messages;
        void ShowException(const QString& message) override { messages << message; }
    } errorBox;
    QStringList& failure = errorBox.messages;
};

void expectDisplay(TForm1& f, const TFont& displayFont, std::uint32_t background)
{
    const QColor back = ColorValue{background}.toQColor();
    const QColor text = displayFont.Color.toQColor();
    for (QWidget* w : std::initializer_list<QWidget*>{f.Label1, f.Label4, f.Edit1, f.SpinEdit2, f.StatusBar1}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->font().family(), displayFont.Name);
        EXPECT_EQ(w->font().pixelSize(), displayFont.AppliedPixelHeight());
        EXPECT_EQ(w->font().bold(), displayFont.Style.bold);
        const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<TSpinEdit*>(w);
        EXPECT_EQ(w->palette().color(field ? QPalette::Base : QPalette::Window), back);
        EXPECT_EQ(w->palette().color(field ? QPalette::Text : QPalette::WindowText), text);
    }
    EXPECT_EQ(f.Button1->font().family(), displayFont.Name);
    EXPECT_EQ(f.Button1->font().bold(), displayFont.Style.bold);
    EXPECT_NE(f.Button1->palette().color(QPalette::Button), back) << "the button takes no background";
    EXPECT_NE(f.palette().color(QPalette::Window), back) << "nor does the window itself";
}

TEST_F(MainWindowView, BackgroundCommandConfirmedAppliesAndSavesCancelledChangesNothing)
{
    auto form = startForm();
    ASSERT_EQ(form->HintergrundNr(), 1);
    EXPECT_EQ(savedValues(), 0u) << "the first start writes nothing";

    actInModal<THintergrundForm>([&] { form->MenuAnsHintergrundClick(); },
                                 [](THintergrundForm& d) {
                                     QTest::keyClick(d.ListBox1, Qt::Key_Down);
                                     QTest::keyClick(d.ListBox1, Qt::Key_Escape);
                                 });
    EXPECT_EQ(form->HintergrundNr(), 1);
    EXPECT_EQ(savedValues(), 0u);

    actInModal<THintergrundForm>([&] { form->MenuAnsHintergrundClick(); },
                                 [](THintergrundForm& d) {
                                     EXPECT_EQ(d.ListBox1->ItemIndex(), 1) << "reopened on the old entry";
                                     QTest::keyClick(d.ListBox1, Qt::Key_Down);
                                     QTest::keyClick(d.ListBox1, Qt::Key_Return);
                                 });
    EXPECT_EQ(form->HintergrundNr(), 2);
    EXPECT_EQ(AnzeigeHintergrund.raw, FarbWerte[2]);
    expectDisplay(*form, form->FontDialog1.Font, FarbWerte[2]);
    EXPECT_EQ(savedValues(), 6u);
    EXPECT_EQ(form->HintergrundForm()->ListBox1->palette().color(QPalette::Base), QColor(255, 255, 255))
        << "the dialog showed the colour it was opened with";
}

TEST_F(MainWindowView, FontCommandSavesOnOkOnlyAndGivesTheFocusBack)
{
    auto form = startForm();
    form->SpinEdit2->setFocus();
    QWidget* const focus = form->focusWidget();
    ASSERT_TRUE(focus == form->SpinEdit2 || form->SpinEdit2->isAncestorOf(focus));
    const TFont fontBefore = form->FontDialog1.Font;
    // While the dialog is open the main window loses its focus control (as it does on Windows).
    auto dropFocus = [&] { focus->clearFocus(); };

    actInModal<FontWindow>([&] { form->MenuAnsSchriftartClick(); },
                           [&](FontWindow& d) {
                               dropFocus();
                               QTest::keyClick(d.NameEdit, Qt::Key_Escape);
                           });
    EXPECT_EQ(form->FontDialog1.Font, fontBefore);
    EXPECT_EQ(savedValues(), 0u);
    EXPECT_EQ(form->focusWidget(), focus) << "after Cancel";

    actInModal<FontWindow>([&] { form->MenuAnsSchriftartClick(); },
                           [&](FontWindow& d) {
                               dropFocus();
                               d.SizeEdit->clear();
                               QTest::keyClicks(d.SizeEdit, QStringLiteral("30"));
                               QTest::keyClick(d.SizeEdit, Qt::Key_Return);
                           });
    EXPECT_EQ(form->FontDialog1.Font.Size(), 30);
    EXPECT_EQ(AnzeigeSchrift, &form->FontDialog1.Font) << "the dialog's font object is the display font";
    expectDisplay(*form, form->FontDialog1.Font, FarbWerte[1]);
    EXPECT_EQ(savedValues(), 6u);
    EXPECT_EQ(form->focusWidget(), focus) << "after OK";
}

#ifndef _WIN32
// The .reg settings file of Linux: a save cut short by the file-size limit.
// Saving fails part-way, as on a full disk: while this lives, no file may grow
// beyond `bytes`.
class FullDisk {
public:
    explicit FullDisk(std::uintmax_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_oldLimit);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_oldLimit;
        small.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_oldLimit);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_oldLimit{};
    void (*m_oldHandler)(int) = nullptr;
};

// A save that fails ends either command with the error box, after the main
// window has taken the new choice; the focus is back where it was, and the
// file keeps what it had.
TEST_F(MainWindowView, SaveErrorIsShownAndTheFocusComesBackInBothCommands)
{
    // The key is there without values, so the first value written makes the file grow.
    const fs::path settingsFile = settings::FileRegistry::DefaultFile();
    fs::create_directories(settingsFile.parent_path());
    {
        settings::RegDocument doc;
        doc.findOrAddKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith");
        const std::vector<std::uint8_t> bytes = doc.serialize();
        std::ofstream(settingsFile, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const std::uintmax_t pixelSize = fs::file_size(settingsFile);
    auto form = startForm();
    ASSERT_TRUE(failure.isEmpty());
    form->SpinEdit2->setFocus();
    QWidget* const focus = form->focusWidget();
    ASSERT_TRUE(focus == form->SpinEdit2 || form->SpinEdit2->isAncestorOf(focus));

    {
        SCOPED_TRACE("font command");
        const FullDisk fullDisk(pixelSize);
        actInModal<FontWindow>(
            [&] { form->MenuAnsSchriftart->trigger(); },
            [&](FontWindow& d) {
                focus->clearFocus(); // while the dialog is open the main window loses its focus control
                d.SizeEdit->clear();
                QTest::keyClicks(d.SizeEdit, QStringLiteral("30"));
                QTest::keyClick(d.SizeEdit, Qt::Key_Return);
            });
        EXPECT_EQ(failure, QStringList{QStringLiteral("Fehler beim Setzen der Daten für 'HintColor'")});
        EXPECT_EQ(form->FontDialog1.Font.Size(), 30);
        expectDisplay(*form, form->FontDialog1.Font, FarbWerte[1]);
        EXPECT_EQ(form->focusWidget(), focus);
    }
    EXPECT_EQ(savedValues(), 0u);

    failure.clear();
    {
        SCOPED_TRACE("background command");
        const FullDisk fullDisk(pixelSize);
        actInModal<THintergrundForm>([&] { form->MenuAnsHintergrund->trigger(); },
                                     [](THintergrundForm& d) {
                                         QTest::keyClick(d.ListBox1, Qt::Key_Down);
                                         QTest::keyClick(d.ListBox1, Qt::Key_Return);
                                     });
        EXPECT_EQ(failure, QStringList{QStringLiteral("Fehler beim Setzen der Daten für 'HintColor'")});
        EXPECT_EQ(form->HintergrundNr(), 2);
        expectDisplay(*form, form->FontDialog1.Font, FarbWerte[2]);
        EXPECT_EQ(form->focusWidget(), focus);
    }
    EXPECT_EQ(savedValues(), 0u);
    EXPECT_EQ(fs::file_size(settingsFile), pixelSize);
}

#endif

TEST_F(MainWindowView, RestartShowsTheSavedFontAndColour)
{
    TFont chosen;
    {
        auto form = startForm();
        actInModal<FontWindow>([&] { form->MenuAnsSchriftartClick(); },
                               [](FontWindow& d) {
                                   const QList<QListWidgetItem*> serif
                                       = d.NameList->findItems(QStringLiteral("Liberation Serif"), Qt::MatchExactly);
                                   ASSERT_FALSE(serif.isEmpty());
                                   d.NameList->setCurrentItem(serif[0]);
                                   d.StyleList->setCurrentRow(2); // Fett
                                   d.SizeEdit->setText(QStringLiteral("22"));
                                   d.ColorBox->setFocus();
                                   QTest::keyClick(d.ColorBox, Qt::Key_Down);
                                   QTest::keyClick(d.ColorBox, Qt::Key_Down); // "Dunkelrot"
                                   QTest::mouseClick(d.OkButton, Qt::LeftButton);
                               });
        actInModal<THintergrundForm>([&] { form->MenuAnsHintergrundClick(); },
                                     [](THintergrundForm& d) {
                                         d.ListBox1->setItemIndex(14);
                                         QTest::mouseClick(d.Button1, Qt::LeftButton);
                                     });
        chosen = form->FontDialog1.Font;
        EXPECT_EQ(chosen.Color.raw, 0x000080u);
    }
    auto restarted = startForm();
    EXPECT_EQ(restarted->FontDialog1.Font, chosen);
    EXPECT_EQ(restarted->HintergrundNr(), 14);
    expectDisplay(*restarted, chosen, FarbWerte[14]);
    actInModal<THintergrundForm>([&] { restarted->MenuAnsHintergrundClick(); },
                                 [](THintergrundForm& d) {
                                     EXPECT_EQ(d.ListBox1->ItemIndex(), 14) << "opened on the loaded entry";
                                     QTest::keyClick(d.ListBox1, Qt::Key_Escape);
                                 });
    EXPECT_EQ(restarted->HintergrundNr(), 14);
    EXPECT_TRUE(failure.isEmpty());
}

// The start does not make the rarely used text-background dialog; until it
// is made, the main window keeps HintergrundNr by the dialog's own rule.
TEST_F(MainWindowView, HintergrundNrFollowsOneRuleBeforeAndAfterTheDialogIsMade)
{
    auto withoutDialog = startForm();
    EXPECT_EQ(withoutDialog->findChild<THintergrundForm*>(), nullptr) << "made at start";
    auto withDialog = startForm();
    ASSERT_NE(withDialog->HintergrundForm(), nullptr);
    for (const int value : {-1, 0, 7, 18, 19, 40, 1}) {
        SCOPED_TRACE(value);
        withoutDialog->setHintergrundNr(value);
        const ColorValue colourWithout = AnzeigeHintergrund;
        withDialog->setHintergrundNr(value);
        EXPECT_EQ(withoutDialog->HintergrundNr(), withDialog->HintergrundNr());
        EXPECT_EQ(colourWithout.raw, AnzeigeHintergrund.raw);
        EXPECT_EQ(withDialog->HintergrundForm()->ListBox1->ItemIndex(), withDialog->HintergrundNr());
    }
    EXPECT_EQ(withoutDialog->findChild<THintergrundForm*>(), nullptr) << "made by HintergrundNr";
}

#ifndef _WIN32
// The .reg settings file of Linux: one that cannot be used, one that is damaged.
TEST_F(MainWindowView, StartWhoseLoadAppliesNothingIsStillLaidOut)
{
    struct Case {
        const char* description;
        std::function<void()> prepare;
        bool errorMessage;
    };
    const fs::path settingsFile = settings::FileRegistry::DefaultFile();
    const Case cases[] = {
        {"key unavailable", [&] { std::ofstream(settingsFile.parent_path()) << "no directory"; }, false},
        {"load error",
         [&] {
             fs::remove(settingsFile.parent_path());
             fs::create_directories(settingsFile.parent_path());
             std::ofstream(settingsFile, std::ios::binary)
                 << "Windows Registry Editor Version 5.00\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                    "\"FontName\"=\"Liberation Mono\"\r\n\"FontSize\"=\"14\"\r\n";
         },
         true},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.description);
        failure.clear();
        testCase.prepare();
        auto form = startForm();
        QTest::qWait(20); // the error box follows once the window is up
        expectDisplay(*form, form->FontDialog1.Font, FarbWerte[1]);
        const QRect field = form->Edit1->geometry();
        form->SchalterEinrichten();
        EXPECT_EQ(form->Edit1->geometry(), field) << "already laid out before it was shown";
        EXPECT_EQ(failure.size(), testCase.errorMessage ? 1 : 0);
        if (testCase.errorMessage) {
            EXPECT_EQ(failure.value(0), QStringLiteral("Fehler beim Holen der Daten für 'FontSize'"));
            EXPECT_EQ(form->FontDialog1.Font.Name, QStringLiteral("Liberation Mono"));
        }
    }
}

} // namespace

namespace {

TEST_F(MainWindowView, DamagedSettingsFileIsToldOnceBeforeTheStartValuesDialog)
{
    const fs::path settingsFile = settings::FileRegistry::DefaultFile();
    fs::create_directories(settingsFile.parent_path());
    std::ofstream(settingsFile, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n"
                                                     "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                                                     "\"FontName\"=\"Liberation Mono\"\r\n\"FontSize\"=14\r\n";
    TForm1 form(nullptr, platform::SystemBeep(), platform::SystemScreenArea(), errorBox);
    TPixelForm pixel(&form);
    // Answers whatever modal window comes up, in the order they come.
    QStringList sequenceLog;
    QString title, text;
    QTimer answerTimer;
    QObject::connect(&answerTimer, &QTimer::timeout, [&] {
        QWidget* topWidget = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(topWidget); box && box->isVisible()) {
            sequenceLog << QStringLiteral("Hinweis");
            title = box->windowTitle();
            text = box->text();
            box->buttons().front()->click();
        } else if (topWidget == &pixel && pixel.isVisible()) {
            sequenceLog << QStringLiteral("Startwerte");
            pixel.reject();
        }
    });
    answerTimer.start(5);
    form.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sequenceLog.size() >= 2; }, 10000)) << sequenceLog.join(',').toStdString();
    form.ShowSettingsNotice(); // told once: nothing more to show
    QTest::qWait(50);
    answerTimer.stop();
    modaltest::closeModalWindows(nullptr);

    EXPECT_EQ(sequenceLog, (QStringList{QStringLiteral("Hinweis"), QStringLiteral("Startwerte")}));
    EXPECT_EQ(title, QStringLiteral("Informationen"));
    EXPECT_TRUE(text.contains(QStringLiteral("Zarnolith.reg.beschaedigt-"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("'FontSize' (Zeile 4)"))) << text.toStdString();
    EXPECT_EQ(form.FontDialog1.Font.Name, QStringLiteral("Liberation Mono")) << "the readable value was kept";
    EXPECT_TRUE(failure.isEmpty()) << failure.join('\n').toStdString();
}
#endif

} // namespace
