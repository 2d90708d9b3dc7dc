// What every window is built from lies below the controls: this include must not compile.
#include "controls/TSpinEdit.h"
