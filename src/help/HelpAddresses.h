#pragma once
// The program's title and the maker's addresses, as the help menu and the Info box use them.
#include "ZarnolithVersion.h"

#include <QString>

namespace help {

inline const QString kProgramTitle = QStringLiteral(ZARNOLITH_PROGRAM_TITLE);
// The maker, as the program file's properties and the packages name it too.
inline const QString kMaker = QStringLiteral(ZARNOLITH_MAKER);
inline const QString kHomepage = QStringLiteral("https://www.example.org/zarnolith");
inline const QString kMailAddress = QStringLiteral("zarnolith@example.org");

// "mailto:" address whose subject is the program's title.
inline QString MailUrl()
{
    return QStringLiteral("mailto:") + kMailAddress + QStringLiteral("?subject=") + kProgramTitle;
}
inline QString DonationPage() { return kHomepage + QStringLiteral("/spenden.htm"); }

// The files beside the program file.
inline const QString kChangesFile = QStringLiteral("History.txt");
inline const QString kUpdaterProgram = QStringLiteral("Vellomat.exe");

} // namespace help
