#include "app/fontlayouttables.h"

#include <QFile>

namespace {
// OpenType numbers are big-endian; a read beyond the end gives 0.
quint32 number(const QByteArray &bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | (at + i < bytes.size() ? uchar(bytes.at(at + i)) : 0u);
    return value;
}

QByteArray readAt(QFile &file, qint64 offset, qint64 size)
{
    return file.seek(offset) ? file.read(size) : QByteArray();
}
} // namespace

// The file begins with a table directory, or, for a collection ("ttcf"), with
// the offsets of each face's directory. A directory is a count at byte 4 and
// 16-byte records of tag and offset; the substitution table's script list, at
// the offset its bytes 4 and 5 give, is a count and 6-byte records that begin
// with the tag.
FontLayoutTables FontLayoutTables::read(const QString &fileName, int index)
{
    FontLayoutTables tables;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return tables;
    qint64 directory = 0;
    QByteArray header = readAt(file, 0, 12);
    if (header.startsWith("ttcf")) {
        directory = number(readAt(file, 12 + 4 * qint64(index), 4), 0, 4);
        header = readAt(file, directory, 12);
    }
    const quint32 version = number(header, 0, 4);
    if (version != 0x00010000 && version != 0x4F54544F /* OTTO */ && version != 0x74727565 /* true */)
        return tables;
    const int count = int(number(header, 4, 2));
    const QByteArray records = readAt(file, directory + 12, 16 * qint64(count));
    for (qsizetype record = 0; record + 16 <= records.size(); record += 16) {
        const QByteArray tag = records.mid(record, 4);
        if (tag == "morx" || tag == "mort") {
            tables.appleTables = true;
        } else if (tag == "GSUB") {
            const qint64 offset = number(records, record + 8, 4);
            const quint32 scriptList = number(readAt(file, offset + 4, 2), 0, 2);
            const int scripts = scriptList ? int(number(readAt(file, offset + scriptList, 2), 0, 2)) : 0;
            const QByteArray scriptRecords = readAt(file, offset + scriptList + 2, 6 * qint64(scripts));
            for (qsizetype at = 0; at + 6 <= scriptRecords.size(); at += 6)
                tables.substitutionScripts.append(scriptRecords.mid(at, 4));
        }
    }
    return tables;
}
