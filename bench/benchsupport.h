// What the benchmark programs share: the platform they run on, the catalogue
// they measure and how they read their peak memory.
#pragma once

#include "app/printoptions.h"

#include <QStringList>

// Benchmarks run offscreen unless the caller chose a platform.
void runOffscreenUnlessChosen();

long peakRssMb();

// The options of a first start: sample size 20, "von jedem etwas".
PrintOptions benchOptions();

// Every installed family, in the order the print list keeps.
QStringList everyInstalledFamily();
