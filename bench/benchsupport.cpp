#include "benchsupport.h"

#include "controls/collatedorder.h"
#include "startup/fontsource.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QMap>
#include <QProcess>

#include <algorithm>
#include <cstdio>

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

long privateMemoryMb()
{
    QFile rollup(QStringLiteral("/proc/self/smaps_rollup"));
    if (!rollup.open(QIODevice::ReadOnly))
        return -1;
    long kilobytes = 0;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Private_Clean:") || line.startsWith("Private_Dirty:"))
            kilobytes += line.simplified().split(' ').value(1).toLong();
    }
    return kilobytes / 1024;
}

void reportFigure(const char *name, double value, const char *unit)
{
    std::printf("figure %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

const QLatin1String FontconfigMatchSuffix("-fontconfig-match");

void startCase(QProcess &child, const QString &benchCase)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString programCase = benchCase;
    if (benchCase.endsWith(FontconfigMatchSuffix)) {
        programCase.chop(FontconfigMatchSuffix.size());
        environment.insert(QStringLiteral("LETTERLOOM_FONT_MATCH"), QStringLiteral("fontconfig"));
    }
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {programCase});
}

int runAndSummarise(const char *title, const QString &benchCase, int runs)
{
    QMap<QString, QList<double>> values;
    QMap<QString, QString> units;
    QStringList order;
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        startCase(child, benchCase);
        // A run that hangs is a finding too: give it ten minutes.
        if (!child.waitForFinished(600000))
            child.kill();
        failures += child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0;
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() != 4 || parts.first() != "figure")
                continue;
            const QString name = QString::fromUtf8(parts.at(1));
            if (!order.contains(name))
                order.append(name);
            values[name].append(parts.at(2).toDouble());
            units[name] = QString::fromUtf8(parts.at(3));
        }
    }
    std::printf("%s: %d runs%s\n", title, runs, failures ? " (some failed)" : "");
    for (const QString &name : order) {
        QList<double> each = values.value(name);
        std::sort(each.begin(), each.end());
        std::printf("  %-28s min %10.2f  median %10.2f  max %10.2f %s\n", qPrintable(name), each.first(),
                    each.at(each.size() / 2), each.last(), qPrintable(units.value(name)));
    }
    std::fflush(stdout);
    return failures;
}

long anonymousMemoryMb()
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
