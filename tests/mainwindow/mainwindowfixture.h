// A main window loaded the way the start-up window loads it: once empty, then
// again after the census has added the fonts.
#pragma once

#include "mainwindow/glyphana.h"

#include <QStringList>

#include <memory>

QStringList liberationFonts();
std::unique_ptr<Glyphana> loadedMainWindow(const QStringList &fonts = liberationFonts());
// Loaded, then shown as the census hands it over.
std::unique_ptr<Glyphana> shownMainWindow();
QColor textColor(const class QLabel *label);
