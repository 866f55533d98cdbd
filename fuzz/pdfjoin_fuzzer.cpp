// Feeds arbitrary bytes to the join as a part of a print job, added twice (its
// first page, then that page twice more, sharing what the first addition
// wrote, as copies do), and checks what must hold for any part: the join never
// crashes, and when it reports success, the file it wrote reads back without a
// repair and with all three pages.
#include "printjob/pdfjoin.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <qpdf/QPDF.hh>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>

namespace {
void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The number of pages of `pdf`, or -1 where libqpdf had to repair it.
int pagesOf(const QByteArray &pdf)
{
    try {
        QPDF read;
        read.setSuppressWarnings(true);
        read.processMemoryFile("joined", pdf.constData(), size_t(pdf.size()));
        const int pages = int(read.getAllPages().size());
        for (QPDFObjectHandle object : read.getAllObjects())
            if (object.isStream())
                object.getRawStreamData();
        return read.anyWarnings() ? -1 : pages;
    } catch (const std::exception &) {
        return -1;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString part = folder.filePath(QStringLiteral("part.pdf"));
    QFile file(part);
    require(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    QBuffer joined;
    joined.open(QIODevice::WriteOnly);
    PdfJoin join(joined, [] { return true; });
    if (join.addPages(part, {0}, false) != PdfJoin::Joined)
        return 0;
    if (join.addPages(part, {0, 0}, true) != PdfJoin::Joined || join.finish() != PdfJoin::Joined)
        return 0;
    require(pagesOf(joined.data()) == 3);
    return 0;
}
