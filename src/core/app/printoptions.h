// How the catalogue is to look: the values the preview reads from the main
// window's controls when it opens.
#pragma once

#include <QColor>
#include <QString>

enum class SampleKind { Alphabet = 0, SomeOfEach = 1, AllCharacters = 2, HandEntered = 3 };

struct PrintOptions {
    QString title;
    QString headingTypeface; // empty when no entry is chosen
    int sampleSize = 0;      // points
    bool boldSamples = false;
    bool dateLine = true;
    SampleKind sampleKind = SampleKind::SomeOfEach;
    QString handEnteredSample;
    QColor headingColor = Qt::black;
    QColor sampleColor = Qt::black;
};
