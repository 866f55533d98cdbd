// The options the preview tests print with: a plain catalogue of alphabets,
// headed in Liberation Sans, without a date line.
#pragma once

#include "app/printoptions.h"

inline PrintOptions catalogueOptions(SampleKind kind = SampleKind::Alphabet)
{
    PrintOptions options;
    options.title = QStringLiteral("Katalog");
    options.headingTypeface = QStringLiteral("Liberation Sans");
    options.sampleSize = 20;
    options.dateLine = false;
    options.sampleKind = kind;
    return options;
}
