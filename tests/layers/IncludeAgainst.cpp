// Controls lie below the windows: this include must not compile.
#include "app/TForm1.h"
