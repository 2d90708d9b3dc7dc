#pragma once
// Trace of the channel and of activation, off unless enabled through Qt's
// logging rules ("zarnolith.instance.debug=true"); the process tests read it.
#include <QLoggingCategory>

namespace instance {

Q_DECLARE_LOGGING_CATEGORY(lcInstance)

} // namespace instance
