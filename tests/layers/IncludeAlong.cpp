// Controls may use their own headers and those of the libraries below them.
#include "controls/TSpinEdit.h"
#include "platform/Beep.h"
#include "ui/TextMeasure.h"
#include "util/IntegerText.h"
