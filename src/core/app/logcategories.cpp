#include "app/logcategories.h"

// The faults are written as warnings, which this level keeps back until a rule
// lets them through.
Q_LOGGING_CATEGORY(lcPrint, "letterloom.print", QtCriticalMsg)
