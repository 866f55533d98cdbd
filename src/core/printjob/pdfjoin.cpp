#include "printjob/pdfjoin.h"

#include <QFile>
#include <QIODevice>

#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <memory>
#include <string>

namespace {
// Thrown through qpdf's writer, which cleans up behind itself on the way out.
struct Stopped { };
struct TargetFailed { };

class DevicePipeline final : public Pipeline
{
public:
    DevicePipeline(QIODevice &device, const std::function<bool()> &keepGoing)
        : Pipeline("letterloom-target", nullptr),
          m_device(device),
          m_keepGoing(keepGoing)
    { }

    void write(unsigned char const *data, size_t length) override
    {
        if (m_device.write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length))
            throw TargetFailed();
        if (!m_keepGoing())
            throw Stopped();
    }

    void finish() override { }

private:
    QIODevice &m_device;
    const std::function<bool()> &m_keepGoing;
};

// A part read through a mapping of its file: qpdf reads its input in small
// pieces, each after a seek, which through a plain file costs two system calls
// a piece and made joining slower than drawing.
struct Source {
    explicit Source(const QString &fileName) : file(fileName) { }

    bool open()
    {
        if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
            return false;
        uchar *data = file.map(0, file.size());
        if (!data)
            return false;
        buffer = std::make_unique<Buffer>(data, size_t(file.size()));
        pdf.setSuppressWarnings(true);
        pdf.processInputSource(
            std::make_shared<BufferInputSource>(QFile::encodeName(file.fileName()).toStdString(), buffer.get()));
        return true;
    }

    QFile file;
    std::unique_ptr<Buffer> buffer;
    QPDF pdf;
};

// Title, creator and producer, as the print dialog's printer set them.
void copyDocumentInformation(QPDF &from, QPDF &to)
{
    QPDFObjectHandle info = from.getTrailer().getKey("/Info");
    if (info.isDictionary())
        to.getTrailer().replaceKey("/Info", to.copyForeignObject(info));
}
} // namespace

PdfJoin::Result PdfJoin::join(const QStringList &parts, QIODevice &target, const std::function<bool()> &keepGoing)
{
    // Each part's streams (its fonts among them) are copied as its pages are,
    // so a part is closed before the next is opened: only the joined pages
    // stay in memory, not every part as well.
    std::string version;
    QPDF joined;
    try {
        joined.emptyPDF();
        QPDFPageDocumentHelper pages(joined);
        for (const QString &part : parts) {
            auto source = std::make_unique<Source>(part);
            if (!source->open())
                return PartUnreadable;
            source->pdf.setImmediateCopyFrom(true);
            for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(source->pdf).getAllPages())
                pages.addPage(page, false);
            if (version.empty()) {
                version = source->pdf.getPDFVersion();
                copyDocumentInformation(source->pdf, joined);
            }
            if (!keepGoing())
                return Cancelled;
        }
    } catch (const std::exception &) {
        return PartUnreadable;
    }

    try {
        DevicePipeline out(target, keepGoing);
        QPDFWriter writer(joined);
        writer.setOutputPipeline(&out);
        // The parts' streams are compressed already; copying them as they are is what keeps the join quick.
        writer.setStreamDataMode(qpdf_s_preserve);
        if (!version.empty())
            writer.setMinimumPDFVersion(version);
        writer.write();
    } catch (const Stopped &) {
        return Cancelled;
    } catch (const TargetFailed &) {
        return WriteFailed;
    } catch (const std::exception &) {
        return PartUnreadable;
    }
    return Joined;
}
