// What a print job tells its window at the end: the text for the status line
// and whether the job went through, which decides the line's colour.
#pragma once

#include <QString>

struct PrintOutcome {
    enum Kind { Failed, Done };

    Kind kind = Failed;
    QString text;
};
