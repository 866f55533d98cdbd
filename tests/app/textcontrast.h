// Measures in a window, as it is drawn, how well each text stands out from
// what lies behind it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QRect;
class QWidget;

struct TextContrast {
    QString control;
    double ratio = 0;
    // What text of the control's size needs.
    double needed = 0;
};

// Every text `window` shows, except in the controls named in `decorations`.
// Each control is drawn with its text and with blanks in its place: the pixels
// that differ are the text, the blank drawing is what lies behind them. Each
// control is taken to write in one colour.
QList<TextContrast> textContrasts(QWidget &window, const QStringList &decorations = {});

// How well what `takeAway` removes from `area` of `window` stood out from what
// was behind it: 1 where nothing showed.
double contrastOfWhatGoes(QWidget &window, const QRect &area, const std::function<void()> &takeAway);
