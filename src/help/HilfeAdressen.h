#pragma once
// The program's title and the maker's addresses, each defined once here.
#include <QString>

namespace help {

inline const QString kProgrammTitel = QStringLiteral("Zarnolith V1.01");
inline const QString kHomepage = QStringLiteral("https://www.example.org/zarnolith");
inline const QString kMailAdresse = QStringLiteral("zarnolith@example.org");

// "mailto:" address whose subject is the program's title.
inline QString MailAufruf() { return QStringLiteral("mailto:") + kMailAdresse + QStringLiteral("?subject=") + kProgrammTitel; }
inline QString SpendenSeite() { return kHomepage + QStringLiteral("/spenden.htm"); }

// The files beside the program file.
inline const QString kAenderungenDatei = QStringLiteral("History.txt");
inline const QString kAktualisierungsProgramm = QStringLiteral("Vellomat.exe");

} // namespace help
