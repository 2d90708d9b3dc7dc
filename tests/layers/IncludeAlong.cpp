// Controls may use their own headers and those of the layers below them.
#include "controls/TSpinEdit.h"
#include "platform/Beep.h"
#include "util/IntegerText.h"
