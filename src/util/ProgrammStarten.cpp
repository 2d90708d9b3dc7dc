#include "util/ProgrammStarten.h"

#include "platform/Shell.h"

#include <QWidget>

namespace util {

int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters, const QString& directory,
                    const QString& operation, int showCommand)
{
    std::uintptr_t ownerHandle = 0;
#ifdef _WIN32
    // Only Windows uses it (for the shell's own messages); elsewhere asking
    // for it would needlessly turn the widget into a native window.
    if (owner)
        ownerHandle = static_cast<std::uintptr_t>(owner->window()->winId());
#else
    (void)owner;
#endif
    return platform::Shell().ShellExecute(ownerHandle, operation.toStdString(), file.toStdString(),
                                          parameters.toStdString(), directory.toStdString(), showCommand);
}

} // namespace util
