#pragma once
// Start-up step: the Austrian forms "Jän", "Mär" and "Jänner" in the date
// names, and short day names without their trailing full stop.
#include "util/RegionalDateNames.h"

namespace util {

// Takes one trailing "." off every short day name.
void TagesnamenAnpassen(RegionalDateNames& names);
// Short month names "JAN" / "MRZ" (in any case) become "Jän" / "Mär"; the first
// long month name "JANUAR" (in any case) becomes "Jänner".
void MonatsnamenAnpassen(RegionalDateNames& names);

// The same on the process's table.
void TagesnamenAnpassen();
void MonatsnamenAnpassen();

} // namespace util
