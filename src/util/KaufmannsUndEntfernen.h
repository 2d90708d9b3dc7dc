#pragma once
#include <QString>

// The caption without its accelerator marks, for measuring its width: every
// "&" goes, a doubled "&&" included.
namespace util {

QString KaufmannsUndEntfernen(const QString& text);

} // namespace util
