// Joins the PDF files a print job wrote in parts into one PDF, as the parts
// come: each part's pages are written out with everything they use (fonts,
// contents) and the part is let go, so memory does not grow with the number of
// parts. Libqpdf reads the parts; the joined file's own structure (objects
// numbered anew, the page tree, the cross-reference table) is written here.
// The document information (title, creator) is the first part's.
#pragma once

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QIODevice;
class QPDFObjectHandle;

class PdfJoin
{
public:
    enum Result { Joined, Cancelled, PartUnreadable, WriteFailed };

    // `keepGoing` is asked after each page written; once it answers false
    // the join stops. `target` gets nothing more after its first failed write.
    PdfJoin(QIODevice &target, std::function<bool()> keepGoing);
    ~PdfJoin();

    // Adds pages `pages` (from 0, in the order given) of the PDF file `part`.
    // A part added again later shares what it added before, unless
    // `lastTime` said it was the last time.
    Result addPages(const QString &part, const std::vector<int> &pages, bool lastTime);
    // Every page of `part`, in its order, for the last time.
    Result addPart(const QString &part);
    // Writes the page tree, the catalogue and the cross-reference table.
    Result finish();

    // What went wrong, in words of the library or the device, for the log.
    QString failure() const { return m_failure; }

private:
    struct Part;
    Part *partFor(const QString &file, Result *result);
    Result writePage(Part &part, QPDFObjectHandle page);
    Result write(const QByteArray &bytes);
    int reserveObject();
    void beginObject(int number);

    QIODevice &m_target;
    const std::function<bool()> m_keepGoing;
    qint64 m_written = 0;
    // Where each object begins in the target; 0 for object 0.
    std::vector<qint64> m_offsets{0};
    std::vector<int> m_pages;
    int m_info = 0;
    bool m_failed = false;
    QString m_failure;
    // Parts that are added again later, by file name.
    std::map<QString, std::unique_ptr<Part>> m_parts;
};
