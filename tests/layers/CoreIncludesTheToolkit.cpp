// The plain C++ library, all that the launcher links, has no toolkit: this include must not compile.
#include <QObject>
