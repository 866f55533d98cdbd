// What the benchmark programs share: the platform they run on, the catalogue
// they measure and how they read their peak memory.
#pragma once

#include "app/printoptions.h"

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>

class QProcess;

// Benchmarks run offscreen unless the caller chose a platform.
void runOffscreenUnlessChosen();

long peakRssMb();

// The options of a first start: sample size 20, "von jedem etwas".
PrintOptions benchOptions();

// Every installed family, in the order the print list keeps.
QStringList everyInstalledFamily();

// Private memory of this process now (anonymous and written pages), from /proc.
long privateMemoryMb();

// A figure of one run, for the parent's summary: one line "figure NAME VALUE UNIT".
void reportFigure(const char *name, double value, const char *unit);

// Starts this program again for one run of `benchCase`. A case whose name ends
// in FontconfigMatchSuffix runs the case before it with the program's font
// match left to fontconfig (LETTERLOOM_FONT_MATCH=fontconfig), to show in the
// same run what narrowing the match to the font's file saves.
void startCase(QProcess &child, const QString &benchCase);
extern const QLatin1String FontconfigMatchSuffix;

// Starts this program again for `benchCase` (as startCase does), `runs` times one after the other,
// passes the children's output on and prints each reported figure as
// min / median / max under `title`. Returns the number of failed runs.
int runAndSummarise(const char *title, const QString &benchCase, int runs);

// Private memory of this process now: its resident anonymous pages (RssAnon), not
// the pages of mapped font files, which the kernel can drop and read again.
long anonymousMemoryMb();

// Minimum, median and maximum of `values`, formatted with `decimals` places, e.g. "1.20 / 1.31 / 1.52".
QString minMedianMax(QList<double> values, int decimals);
