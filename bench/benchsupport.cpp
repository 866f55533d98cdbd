#include "benchsupport.h"

#include "controls/collatedorder.h"
#include "startup/fontsource.h"

#include <QFile>
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
    options.sampleSize = QStringLiteral("20");
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

long privateMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

QString minMedianMax(QList<double> values, int decimals)
{
    if (values.isEmpty())
        return QStringLiteral("-");
    std::sort(values.begin(), values.end());
    const double median = values.size() % 2 ? values.at(values.size() / 2)
                                             : (values.at(values.size() / 2 - 1) + values.at(values.size() / 2)) / 2;
    return QStringLiteral("%1 / %2 / %3")
        .arg(values.first(), 0, 'f', decimals)
        .arg(median, 0, 'f', decimals)
        .arg(values.last(), 0, 'f', decimals);
}
