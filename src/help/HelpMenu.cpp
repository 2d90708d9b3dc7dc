#include "help/HelpMenu.h"

#include "help/HelpAddresses.h"
#include "help/HistoryViewer.h"
#include "help/UpdateHandOff.h"
#include "platform/HandOffFile.h"
#include "ui/MessageBoxDisplay.h"
#include "util/ProgramPath.h"
#include "util/ProgrammStarten.h"
#include "util/TempVerzeichnis.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QtGlobal>

namespace help {

namespace {

void showMessage(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ShowMessageBox(owner, icon, title, lines);
}

bool isRegularFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

} // namespace

namespace {
class SystemEnvironment final : public IHelpEnvironment {
public:
    QString ProgramFile() override { return m_programFile; }
    QString ProgramDirectory() override { return m_programDirectory; }
    QString TempVerzeichnis(QString* failure) override { return util::TempVerzeichnis(failure); }
    int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters, const QString& directory,
                        const QString& operation, int showCommand) override
    {
        return util::ProgrammStarten(owner, file, parameters, directory, operation, showCommand);
    }
    void ShowInformationBox(QWidget* owner, const QString& text) override
    {
        showMessage(owner, QMessageBox::Information, QStringLiteral("Informationen"), text);
    }
    void ShowErrorBox(QWidget* owner, const QString& text) override
    {
        showMessage(owner, QMessageBox::Critical, QStringLiteral("Fehler"), text);
    }

private:
    // Looked up once, as the program file does not move while it runs.
    const QString m_programFile = QString::fromStdString(util::ProgramFile());
    const QString m_programDirectory = QString::fromStdString(util::ProgramDirectory());
};
} // namespace

IHelpEnvironment& SystemHelpEnvironment()
{
    static SystemEnvironment environment;
    return environment;
}

HelpMenu::HelpMenu(IHelpEnvironment& environment) : m_environment(environment) {}

HelpMenuState HelpMenu::State() const
{
    return {isRegularFile(m_environment.ProgramDirectory() + kChangesFile),
            isRegularFile(m_environment.ProgramDirectory() + kUpdaterProgram)};
}

QString HelpMenu::DevelopmentTool()
{
    QString compiler;
#if defined(__clang__)
    compiler = QStringLiteral("Clang ") + QString::fromLatin1(__clang_version__).trimmed();
#elif defined(__GNUC__) && defined(ZARNOLITH_COMPILER_RELEASE)
    // The release as the build found it: Debian's MinGW-w64 compilers carry
    // "12-posix" as their version, so their version macros read 12.0.0.
    compiler = QStringLiteral("GCC ") + QStringLiteral(ZARNOLITH_COMPILER_RELEASE);
#elif defined(__GNUC__)
    compiler = QStringLiteral("GCC %1.%2.%3").arg(__GNUC__).arg(__GNUC_MINOR__).arg(__GNUC_PATCHLEVEL__);
#elif defined(_MSC_FULL_VER)
    compiler = QStringLiteral("MSVC ") + QString::number(_MSC_FULL_VER);
#else
    compiler = QStringLiteral("einem C++-Compiler");
#endif
    return QStringLiteral("Qt ") + QStringLiteral(QT_VERSION_STR) + QStringLiteral(" und ") + compiler;
}

QString HelpMenu::InfoText()
{
    const QStringList format = {
        QStringLiteral("Anpassung von Bildpixel-Breite und -Höhe."),
        QStringLiteral("Copyright © 2026 ") + kMaker,
        QStringLiteral("Kostenlos nutzbar, Weitergabe unverändert erlaubt."),
        QStringLiteral("Die Nutzung erfolgt ohne Gewähr."),
        QStringLiteral("Herausgeber: ") + kMaker,
        QStringLiteral("Musterweg 1, 00000 Beispielstadt"),
        QStringLiteral("Verantwortlich für den Inhalt: der Herausgeber"),
        QStringLiteral("Internet: ") + kHomepage,
        QStringLiteral("E-Mail: ") + kMailAddress,
        QStringLiteral("Fragen und Anregungen sind willkommen."),
        QStringLiteral("Spenden helfen bei der Weiterentwicklung."),
        QStringLiteral("Dieses Programm wurde mit %1 programmiert."),
    };
    return kProgramTitle + QStringLiteral("\r\n") + format.join(QStringLiteral("\r\n")).arg(DevelopmentTool());
}

void HelpMenu::ShowInfo(QWidget* owner) const { m_environment.ShowInformationBox(owner, InfoText()); }

void HelpMenu::OpenAddress(QWidget* owner, const QString& address) const
{
    m_environment.ProgrammStarten(owner, address, QString(), QString(), QStringLiteral("open"), util::kShowNormal);
}

void HelpMenu::OpenHomepage(QWidget* owner) const { OpenAddress(owner, kHomepage); }

void HelpMenu::WriteMail(QWidget* owner) const { OpenAddress(owner, MailUrl()); }

void HelpMenu::OpenDonations(QWidget* owner) const { OpenAddress(owner, DonationPage()); }

HistoryViewer* HelpMenu::ShowChanges(QWidget* owner, const TFont& displayFont, ColorValue background)
{
    if (!m_viewer)
        m_viewer = new HistoryViewer(m_environment.ProgramDirectory() + kChangesFile, displayFont, background, owner);
    m_viewer->BringToFront();
    return m_viewer;
}

bool HelpMenu::StartUpdate(QWidget* owner, const QString& windowTitleText, const TFont& displayFont) const
{
    QString failure;
    const QString path = m_environment.TempVerzeichnis(&failure) + kHandOffFile;
    if (!failure.isEmpty()) {
        // No directory to write into: a bare file name would land in the
        // current directory, usually the program's own. The box says why.
        m_environment.ShowErrorBox(owner,
                                   UpdateErrorText(QDir::toNativeSeparators(path)) + QStringLiteral("\r\n") + failure);
        return false;
    }
    const QByteArray bytes = HandOffBytes(
        HandOffLines(windowTitleText, m_environment.ProgramFile(), displayFont.Size(), displayFont.Name));
    // UTF-8, as the platform layer takes paths (QFile::encodeName would give
    // the ANSI code page on Windows).
    const std::string nativePath = path.toStdString();

    platform::ClearReadOnly(nativePath);
    if (platform::WriteOwnFile(nativePath, std::string_view(bytes.constData(), bytes.size())) != 0) {
        m_environment.ShowErrorBox(owner, UpdateErrorText(QDir::toNativeSeparators(path)));
        return false;
    }
    // The updater finds the file by its bare name in the temporary directory.
    m_environment.ProgrammStarten(owner, m_environment.ProgramDirectory() + kUpdaterProgram, kHandOffFile, QString(),
                                  QStringLiteral("open"), util::kShowNormal);
    return true;
}

} // namespace help
