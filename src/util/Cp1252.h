#pragma once
// Code page 1252 (Western European Windows) in both directions, from a table of
// our own so it works without ICU. Characters outside the code page become "?".
#include <QByteArray>
#include <QString>

namespace util {

QByteArray ToCp1252(QStringView text);
QString FromCp1252(QByteArrayView bytes);

} // namespace util
