#pragma once
// Scripts as the font dialog offers them: Windows character-set numbers with
// German names, derived from the writing systems a face supports.
#include <QString>
#include <vector>

// "Westlich" for 0, "Kyrillisch" for 204 ...; a number without a name reads "Zeichensatz n".
QString ScriptName(int charset);

// The character sets a face supports, in ascending order; "Westlich" alone
// when the font database knows nothing of the face.
std::vector<int> ScriptsOfFont(const QString& family);
