#include "instance/InstanceLog.h"

namespace instance {

Q_LOGGING_CATEGORY(lcInstance, "zarnolith.instance", QtWarningMsg)

} // namespace instance
