#include "instance/InstanceLog.h"

Q_LOGGING_CATEGORY(lcInstance, "zarnolith.instance", QtWarningMsg)
