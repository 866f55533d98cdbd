#include "benchsupport.h"

#include "controls/collatedorder.h"
#include "startup/fontsource.h"

#include <QFontDatabase>

#include <algorithm>

#include <sys/resource.h>

void runOffscreenUnlessChosen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

long peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

PrintOptions benchOptions()
{
    PrintOptions options;
    options.title = QStringLiteral("Schriftenübersicht");
    options.headingTypeface = QStringLiteral("Arial");
    options.sampleSize = 20;
    options.sampleKind = SampleKind::SomeOfEach;
    return options;
}

QStringList everyInstalledFamily()
{
    QStringList names = installedFamilies(QFontDatabase::families());
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return listCollator().compare(a, b) < 0; });
    return names;
}
