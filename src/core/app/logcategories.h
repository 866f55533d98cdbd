// The program's logging categories. They are off unless QT_LOGGING_RULES
// switches them on, e.g. QT_LOGGING_RULES="letterloom.print=true".
#pragma once

#include <QLoggingCategory>

// Faults of a print job that end in a message box, each with its cause in the
// words of the part that failed.
Q_DECLARE_LOGGING_CATEGORY(lcPrint)
