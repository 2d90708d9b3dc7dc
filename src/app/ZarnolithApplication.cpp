#include "app/ZarnolithApplication.h"

#include "app/FocusFrameStyle.h"
#include "app/OverflowArrowStyle.h"
#include "app/TForm1.h"

#include <QLoggingCategory>
#include "settings/ERegistryException.h"
#include "ui/MessageBoxDisplay.h"
#include "util/IntegerText.h"

#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <new>

namespace {
Q_LOGGING_CATEGORY(lcError, "zarnolith.errorbox", QtWarningMsg)

class StandardBox final : public IErrorBox {
public:
    void ShowException(const QString& message) override { ZarnolithApplication::ShowException(message); }
};
} // namespace

ZarnolithApplication::ZarnolithApplication(int& argc, char** argv, IErrorBox& errorBox)
    : QApplication(argc, argv), m_errorBox(errorBox)
{
    // The desktop's style, with a visible focus frame and overflow arrows drawn, not loaded.
    QApplication::setStyle(new FocusFrameStyle(new OverflowArrowStyle(QApplication::style())));
}

bool ZarnolithApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); }, m_errorBox);
    return handled;
}

void ZarnolithApplication::Guarded(const std::function<void()>& command, IErrorBox& errorBox)
{
    try {
        command();
    } catch (const std::exception& e) {
        errorBox.ShowException(MessageOf(e));
    } catch (...) {
        errorBox.ShowException(QStringLiteral("Unbekannter Fehler"));
    }
}

QString ZarnolithApplication::MessageOf(const std::exception& e)
{
    if (dynamic_cast<const util::EConvertError*>(&e) || dynamic_cast<const settings::ERegistryException*>(&e))
        return QString::fromUtf8(e.what());
    std::fprintf(stderr, "Zarnolith: %s\n", e.what()); // for whoever looks into it
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return QStringLiteral("Nicht genügend Arbeitsspeicher.");
    return QStringLiteral("Unbekannter Fehler");
}

void ZarnolithApplication::ShowException(const QString& message)
{
    // Owned by the open dialog, else by the main window (the active window may
    // be none at all, e.g. at start-up): an owned box does not keep the program
    // alive, so closing the main window (also from outside, 1124) ends the run
    // whatever box is open.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = Form1;
    if (!owner)
        owner = QApplication::activeWindow();
    qCDebug(lcError) << "box:" << message;
    ShowMessageBox(owner, QMessageBox::Critical, QStringLiteral("Fehler"), message);
}

IErrorBox& ZarnolithApplication::StandardErrorBox()
{
    static StandardBox box;
    return box;
}
