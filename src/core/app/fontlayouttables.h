// Which layout tables a font file holds for one of its faces, read from the
// file's table directory: the scripts its glyph substitution table names, and
// whether it has Apple's layout tables. Qt asks the same to decide whether a
// font can draw the scripts that need them.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct FontLayoutTables {
    // Face `index` of `file`; nothing for a file that is no OpenType or
    // TrueType font, or that cannot be read.
    static FontLayoutTables read(const QString &file, int index);

    // Four-letter OpenType script tags, as "deva" or "nko ".
    QList<QByteArray> substitutionScripts;
    bool appleTables = false;
};
