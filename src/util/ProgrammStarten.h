#pragma once
// Hands a file, web address, mail address or program to the system's shell.
// Every caller ignores the result; above 32 means started.
#include <QString>

class QWidget;

namespace util {

// The usual show command (SW_SHOWNORMAL).
inline constexpr int kShowNormal = 1;

int ProgrammStarten(QWidget* owner, const QString& file, const QString& parameters, const QString& directory,
                    const QString& operation, int showCommand);

} // namespace util
