// The display settings in the main window: both commands confirmed and
// cancelled, what they save, the focus after the font command, a restart that
// shows the saved settings, a save that fails, and a start whose load applies nothing.
#include "app/TForm1.h"
#include "app/TPixelForm.h"
#include "app/ZarnolithApplication.h"
#include "appearance/FarbTabelle.h"
#include "appearance/SchriftartFenster.h"
#include "appearance/THintergrundForm.h"
#include "appearance/TListBox.h"
#include "controls/TSpinEdit.h"
#include "platform/FileRegistry.h"
#include "platform/RegDocument.h"
#include "support/ModalLoop.h"

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
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

using modaltest::actInModal;

class Hauptfenster : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", oldXdg);
    }

    // Shown, loaded and laid out, without the start-values dialog that would open by itself.
    std::unique_ptr<TForm1> starten()
    {
        auto form = std::make_unique<TForm1>(nullptr, platform::SystemBeep(), platform::SystemScreenArea(), fehlerBox);
        form->show();
        form->Timer1->stop();
        QApplication::setActiveWindow(form.get());
        return form;
    }

    std::optional<platform::RegDocument> gespeichert() const
    {
        std::ifstream in(platform::FileRegistry::DefaultFile(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return platform::RegDocument::parse(bytes);
    }
    std::size_t gespeicherteWerte() const
    {
        std::optional<platform::RegDocument> doc = gespeichert();
        return doc && !doc->keys.empty() ? doc->keys[0].values.size() : 0;
    }


    QTemporaryDir dir;
    QByteArray oldXdg;
    // The windows show their errors here instead of in the modal box.
    struct FehlerListe final : IErrorBox {
        QStringList meldungen;
        void ShowException(const QString& message) override { meldungen << message; }
    } fehlerBox;
    QStringList& fehler = fehlerBox.meldungen;
};

void erwarteAnzeige(TForm1& f, const TFont& schrift, std::uint32_t hintergrund)
{
    const QColor back = ColorValue{hintergrund}.toQColor();
    const QColor text = schrift.Color.toQColor();
    for (QWidget* w : std::initializer_list<QWidget*>{f.Label1, f.Label4, f.Edit1, f.SpinEdit2, f.StatusBar1}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->font().family(), schrift.Name);
        EXPECT_EQ(w->font().pixelSize(), schrift.AngewandtePixelHoehe());
        EXPECT_EQ(w->font().bold(), schrift.Style.bold);
        const bool feld = qobject_cast<QLineEdit*>(w) || qobject_cast<TSpinEdit*>(w);
        EXPECT_EQ(w->palette().color(feld ? QPalette::Base : QPalette::Window), back);
        EXPECT_EQ(w->palette().color(feld ? QPalette::Text : QPalette::WindowText), text);
    }
    EXPECT_EQ(f.Button1->font().family(), schrift.Name);
    EXPECT_EQ(f.Button1->font().bold(), schrift.Style.bold);
    EXPECT_NE(f.Button1->palette().color(QPalette::Button), back) << "the button takes no background";
    EXPECT_NE(f.palette().color(QPalette::Window), back) << "nor does the window itself";
}

TEST_F(Hauptfenster, BackgroundCommandConfirmedAppliesAndSavesCancelledChangesNothing)
{
    auto form = starten();
    ASSERT_EQ(form->HintergrundNr(), 1);
    EXPECT_EQ(gespeicherteWerte(), 0u) << "the first start writes nothing";

    actInModal<THintergrundForm>([&] { form->MenuAnsHintergrundClick(); }, [](THintergrundForm& d) {
        QTest::keyClick(d.ListBox1, Qt::Key_Down);
        QTest::keyClick(d.ListBox1, Qt::Key_Escape);
    });
    EXPECT_EQ(form->HintergrundNr(), 1);
    EXPECT_EQ(gespeicherteWerte(), 0u);

    actInModal<THintergrundForm>([&] { form->MenuAnsHintergrundClick(); }, [](THintergrundForm& d) {
        EXPECT_EQ(d.ListBox1->ItemIndex(), 1) << "reopened on the old entry";
        QTest::keyClick(d.ListBox1, Qt::Key_Down);
        QTest::keyClick(d.ListBox1, Qt::Key_Return);
    });
    EXPECT_EQ(form->HintergrundNr(), 2);
    EXPECT_EQ(AnzeigeHintergrund.raw, FarbWerte[2]);
    erwarteAnzeige(*form, form->FontDialog1.Font, FarbWerte[2]);
    EXPECT_EQ(gespeicherteWerte(), 6u);
    EXPECT_EQ(form->HintergrundForm->ListBox1->palette().color(QPalette::Base), QColor(255, 255, 255))
        << "the dialog showed the colour it was opened with";
}

TEST_F(Hauptfenster, FontCommandSavesOnOkOnlyAndGivesTheFocusBack)
{
    auto form = starten();
    form->SpinEdit2->setFocus();
    QWidget* const fokus = form->focusWidget();
    ASSERT_TRUE(fokus == form->SpinEdit2 || form->SpinEdit2->isAncestorOf(fokus));
    const TFont vorher = form->FontDialog1.Font;
    // While the dialog is open the main window loses its focus control (as it does on Windows).
    auto fokusWeg = [&] { fokus->clearFocus(); };

    actInModal<SchriftartFenster>([&] { form->MenuAnsSchriftartClick(); }, [&](SchriftartFenster& d) {
        fokusWeg();
        QTest::keyClick(d.NameEdit, Qt::Key_Escape);
    });
    EXPECT_EQ(form->FontDialog1.Font, vorher);
    EXPECT_EQ(gespeicherteWerte(), 0u);
    EXPECT_EQ(form->focusWidget(), fokus) << "after Cancel";

    actInModal<SchriftartFenster>([&] { form->MenuAnsSchriftartClick(); }, [&](SchriftartFenster& d) {
        fokusWeg();
        d.GroesseEdit->clear();
        QTest::keyClicks(d.GroesseEdit, QStringLiteral("30"));
        QTest::keyClick(d.GroesseEdit, Qt::Key_Return);
    });
    EXPECT_EQ(form->FontDialog1.Font.Size(), 30);
    EXPECT_EQ(AnzeigeSchrift, &form->FontDialog1.Font) << "the dialog's font object is the display font";
    erwarteAnzeige(*form, form->FontDialog1.Font, FarbWerte[1]);
    EXPECT_EQ(gespeicherteWerte(), 6u);
    EXPECT_EQ(form->focusWidget(), fokus) << "after OK";
}

// Saving fails part-way, as on a full disk: while this lives, no file may grow
// beyond `bytes`.
class VolleFestplatte {
public:
    explicit VolleFestplatte(std::uintmax_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_alt);
        m_alterHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit klein = m_alt;
        klein.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &klein);
    }
    ~VolleFestplatte()
    {
        setrlimit(RLIMIT_FSIZE, &m_alt);
        std::signal(SIGXFSZ, m_alterHandler);
    }

private:
    rlimit m_alt{};
    void (*m_alterHandler)(int) = nullptr;
};

// A save that fails ends either command with the error box, after the main
// window has taken the new choice; the focus is back where it was, and the
// file keeps what it had.
TEST_F(Hauptfenster, SaveErrorIsShownAndTheFocusComesBackInBothCommands)
{
    // The key is there without values, so the first value written makes the file grow.
    const fs::path datei = platform::FileRegistry::DefaultFile();
    fs::create_directories(datei.parent_path());
    {
        platform::RegDocument doc;
        doc.findOrAddKey(u"HKEY_CURRENT_USER\\Software\\Zarnolith");
        const std::vector<std::uint8_t> bytes = doc.serialize();
        std::ofstream(datei, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    }
    const std::uintmax_t groesse = fs::file_size(datei);
    auto form = starten();
    ASSERT_TRUE(fehler.isEmpty());
    form->SpinEdit2->setFocus();
    QWidget* const fokus = form->focusWidget();
    ASSERT_TRUE(fokus == form->SpinEdit2 || form->SpinEdit2->isAncestorOf(fokus));

    {
        SCOPED_TRACE("font command");
        const VolleFestplatte voll(groesse);
        actInModal<SchriftartFenster>([&] { form->MenuAnsSchriftart->trigger(); }, [&](SchriftartFenster& d) {
            fokus->clearFocus(); // while the dialog is open the main window loses its focus control
            d.GroesseEdit->clear();
            QTest::keyClicks(d.GroesseEdit, QStringLiteral("30"));
            QTest::keyClick(d.GroesseEdit, Qt::Key_Return);
        });
        EXPECT_EQ(fehler, QStringList{QStringLiteral("Fehler beim Setzen der Daten für 'HintColor'")});
        EXPECT_EQ(form->FontDialog1.Font.Size(), 30);
        erwarteAnzeige(*form, form->FontDialog1.Font, FarbWerte[1]);
        EXPECT_EQ(form->focusWidget(), fokus);
    }
    EXPECT_EQ(gespeicherteWerte(), 0u);

    fehler.clear();
    {
        SCOPED_TRACE("background command");
        const VolleFestplatte voll(groesse);
        actInModal<THintergrundForm>([&] { form->MenuAnsHintergrund->trigger(); }, [](THintergrundForm& d) {
            QTest::keyClick(d.ListBox1, Qt::Key_Down);
            QTest::keyClick(d.ListBox1, Qt::Key_Return);
        });
        EXPECT_EQ(fehler, QStringList{QStringLiteral("Fehler beim Setzen der Daten für 'HintColor'")});
        EXPECT_EQ(form->HintergrundNr(), 2);
        erwarteAnzeige(*form, form->FontDialog1.Font, FarbWerte[2]);
        EXPECT_EQ(form->focusWidget(), fokus);
    }
    EXPECT_EQ(gespeicherteWerte(), 0u);
    EXPECT_EQ(fs::file_size(datei), groesse);
}

TEST_F(Hauptfenster, RestartShowsTheSavedFontAndColour)
{
    TFont gewaehlt;
    {
        auto form = starten();
        actInModal<SchriftartFenster>([&] { form->MenuAnsSchriftartClick(); }, [](SchriftartFenster& d) {
            const QList<QListWidgetItem*> serif = d.NameListe->findItems(QStringLiteral("Liberation Serif"), Qt::MatchExactly);
            ASSERT_FALSE(serif.isEmpty());
            d.NameListe->setCurrentItem(serif[0]);
            d.StilListe->setCurrentRow(2); // Fett
            d.GroesseEdit->setText(QStringLiteral("22"));
            d.FarbBox->setFocus();
            QTest::keyClick(d.FarbBox, Qt::Key_Down);
            QTest::keyClick(d.FarbBox, Qt::Key_Down); // "Dunkelrot"
            QTest::mouseClick(d.OkButton, Qt::LeftButton);
        });
        actInModal<THintergrundForm>([&] { form->MenuAnsHintergrundClick(); }, [](THintergrundForm& d) {
            d.ListBox1->setItemIndex(14);
            QTest::mouseClick(d.Button1, Qt::LeftButton);
        });
        gewaehlt = form->FontDialog1.Font;
        EXPECT_EQ(gewaehlt.Color.raw, 0x000080u);
    }
    auto neu = starten();
    EXPECT_EQ(neu->FontDialog1.Font, gewaehlt);
    EXPECT_EQ(neu->HintergrundNr(), 14);
    erwarteAnzeige(*neu, gewaehlt, FarbWerte[14]);
    EXPECT_TRUE(fehler.isEmpty());
}

TEST_F(Hauptfenster, StartWhoseLoadAppliesNothingIsStillLaidOut)
{
    struct Fall {
        const char* wie;
        std::function<void()> vorbereiten;
        bool fehlermeldung;
    };
    const fs::path datei = platform::FileRegistry::DefaultFile();
    const Fall faelle[] = {
        {"key unavailable", [&] { std::ofstream(datei.parent_path()) << "no directory"; }, false},
        {"load error", [&] {
             fs::remove(datei.parent_path());
             fs::create_directories(datei.parent_path());
             std::ofstream(datei, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n"
                                                       "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                                                       "\"FontName\"=\"Liberation Mono\"\r\n\"FontSize\"=\"14\"\r\n";
         }, true},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.wie);
        fehler.clear();
        fall.vorbereiten();
        auto form = starten();
        QTest::qWait(20); // the error box follows once the window is up
        erwarteAnzeige(*form, form->FontDialog1.Font, FarbWerte[1]);
        const QRect feld = form->Edit1->geometry();
        form->SchalterEinrichten();
        EXPECT_EQ(form->Edit1->geometry(), feld) << "already laid out before it was shown";
        EXPECT_EQ(fehler.size(), fall.fehlermeldung ? 1 : 0);
        if (fall.fehlermeldung) {
            EXPECT_EQ(fehler.value(0), QStringLiteral("Fehler beim Holen der Daten für 'FontSize'"));
            EXPECT_EQ(form->FontDialog1.Font.Name, QStringLiteral("Liberation Mono"));
        }
    }
}

} // namespace

namespace {

TEST_F(Hauptfenster, DamagedSettingsFileIsToldOnceBeforeTheStartValuesDialog)
{
    const fs::path datei = platform::FileRegistry::DefaultFile();
    fs::create_directories(datei.parent_path());
    std::ofstream(datei, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n"
                                              "[HKEY_CURRENT_USER\\Software\\Zarnolith]\r\n"
                                              "\"FontName\"=\"Liberation Mono\"\r\n\"FontSize\"=14\r\n";
    TForm1 form(nullptr, platform::SystemBeep(), platform::SystemScreenArea(), fehlerBox);
    TPixelForm pixel(&form);
    // Answers whatever modal window comes up, in the order they come.
    QStringList ablauf;
    QString titel, text;
    QTimer antworten;
    QObject::connect(&antworten, &QTimer::timeout, [&] {
        QWidget* oben = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(oben); box && box->isVisible()) {
            ablauf << QStringLiteral("Hinweis");
            titel = box->windowTitle();
            text = box->text();
            box->buttons().front()->click();
        } else if (oben == &pixel && pixel.isVisible()) {
            ablauf << QStringLiteral("Startwerte");
            pixel.reject();
        }
    });
    antworten.start(5);
    form.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ablauf.size() >= 2; }, 10000)) << ablauf.join(',').toStdString();
    form.EinstellungsHinweisZeigen(); // told once: nothing more to show
    QTest::qWait(50);
    antworten.stop();
    modaltest::closeModalWindows(nullptr);

    EXPECT_EQ(ablauf, (QStringList{QStringLiteral("Hinweis"), QStringLiteral("Startwerte")}));
    EXPECT_EQ(titel, QStringLiteral("Informationen"));
    EXPECT_TRUE(text.contains(QStringLiteral("Zarnolith.reg.beschaedigt-"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("'FontSize' (Zeile 4)"))) << text.toStdString();
    EXPECT_EQ(form.FontDialog1.Font.Name, QStringLiteral("Liberation Mono")) << "the readable value was kept";
    EXPECT_TRUE(fehler.isEmpty()) << fehler.join('\n').toStdString();
}

} // namespace
