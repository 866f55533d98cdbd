#include "printjob/pdfjoin.h"

#include "app/logcategories.h"

#include <QFile>
#include <QIODevice>

#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <cstring>
#include <deque>
#include <exception>
#include <set>
#include <string>

namespace {
constexpr int CatalogueObject = 1;
constexpr int PageTreeObject = 2;

// A name as PDF writes it: `name` is the decoded name with its slash, every
// character outside the plain ones written as "#" and its hex code. No name
// can hold a NUL.
bool writable(const std::string &name)
{
    return name.find('\0') == std::string::npos;
}

QByteArray nameOf(const std::string &name)
{
    QByteArray out("/");
    for (size_t i = 1; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x21 || c > 0x7e || std::strchr("#()<>[]{}/%", c))
            out += '#' + QByteArray::number(c, 16).rightJustified(2, '0');
        else
            out += char(c);
    }
    return out;
}
} // namespace

// A part's PDF, read through a mapping of its file: qpdf reads its input in
// small pieces, each after a seek, which through a plain file costs two system
// calls a piece. It keeps the numbers its objects got in the joined file.
struct PdfJoin::Part {
    explicit Part(const QString &fileName) : file(fileName) { }

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
        // Each page of the joined file hangs from its page tree alone.
        pdf.pushInheritedAttributesToPage();
        pages = pdf.getAllPages();
        return true;
    }

    // The joined file's number of `object`, found or given; a new one waits to be written.
    int numberOf(QPDFObjectHandle object, PdfJoin &join)
    {
        const auto known = numbers.find(object.getObjGen());
        if (known != numbers.end())
            return known->second;
        const int number = join.reserveObject();
        numbers.emplace(object.getObjGen(), number);
        waiting.emplace_back(number, object);
        return number;
    }

    // The object itself, as PDF text; the objects it refers to by their new numbers.
    void body(QPDFObjectHandle object, QByteArray &out, PdfJoin &join)
    {
        if (object.isArray()) {
            out += '[';
            for (const QPDFObjectHandle &item : object.getArrayAsVector()) {
                value(item, out, join);
                out += ' ';
            }
            out += ']';
        } else if (object.isDictionary()) {
            dictionary(object, {}, out, join);
            out += ">>";
        } else if (object.isName()) {
            out += writable(object.getName()) ? nameOf(object.getName()) : QByteArray("null");
        } else {
            // Resolved: an indirect number's own text, not a reference to itself.
            out += QByteArray::fromStdString(object.unparseResolved());
        }
    }

    void value(QPDFObjectHandle object, QByteArray &out, PdfJoin &join)
    {
        if (object.isIndirect())
            out += QByteArray::number(numberOf(object, join)) + " 0 R";
        else
            body(object, out, join);
    }

    // Opens the dictionary and writes its entries but `leftOut`; the caller closes it.
    void dictionary(QPDFObjectHandle object, const std::set<std::string> &leftOut, QByteArray &out, PdfJoin &join)
    {
        out += "<<";
        for (const std::string &key : object.getKeys()) {
            if (leftOut.count(key) || !writable(key))
                continue;
            out += nameOf(key) + ' ';
            value(object.getKey(key), out, join);
            out += '\n';
        }
    }

    // The whole indirect object `number`: a stream keeps its data as it is,
    // still compressed, with its length given directly.
    void object(int number, QPDFObjectHandle object, QByteArray &out, PdfJoin &join)
    {
        out += QByteArray::number(number) + " 0 obj\n";
        if (object.isStream()) {
            const std::shared_ptr<Buffer> data = object.getRawStreamData();
            dictionary(object.getDict(), {"/Length"}, out, join);
            out += "/Length " + QByteArray::number(qulonglong(data->getSize())) + ">>\nstream\n";
            out.append(reinterpret_cast<const char *>(data->getBuffer()), qsizetype(data->getSize()));
            out += "\nendstream";
        } else {
            body(object, out, join);
        }
        out += "\nendobj\n";
    }

    QFile file;
    std::unique_ptr<Buffer> buffer;
    QPDF pdf;
    std::vector<QPDFObjectHandle> pages;
    std::map<QPDFObjGen, int> numbers;
    std::deque<std::pair<int, QPDFObjectHandle>> waiting;
};

PdfJoin::PdfJoin(QIODevice &target, std::function<bool()> keepGoing)
    : m_target(target),
      m_keepGoing(std::move(keepGoing))
{
    reserveObject();
    reserveObject();
}

PdfJoin::~PdfJoin() = default;

PdfJoin::Result PdfJoin::addPart(const QString &part)
{
    Result result = Joined;
    const Part *reading = partFor(part, &result);
    if (!reading)
        return result;
    std::vector<int> pages(reading->pages.size());
    for (size_t i = 0; i < pages.size(); ++i)
        pages[i] = int(i);
    return addPages(part, pages, true);
}

PdfJoin::Result PdfJoin::addPages(const QString &part, const std::vector<int> &pages, bool lastTime)
{
    if (m_failed)
        return WriteFailed;
    Result result = Joined;
    Part *reading = partFor(part, &result);
    if (!reading)
        return result;
    try {
        if (m_written == 0) {
            if (result
                = write("%PDF-" + QByteArray::fromStdString(reading->pdf.getPDFVersion()) + "\n%\xE2\xE3\xCF\xD3\n");
                result != Joined)
                return result;
            if (QPDFObjectHandle info = reading->pdf.getTrailer().getKey("/Info");
                info.isDictionary() && info.isIndirect())
                m_info = reading->numberOf(info, *this);
        }
        for (const int index : pages) {
            if (index < 0 || size_t(index) >= reading->pages.size()) {
                m_failure = QStringLiteral("%1 has no page %2").arg(part).arg(index + 1);
                qCWarning(lcPrint).noquote() << "joining the parts:" << m_failure;
                return PartUnreadable;
            }
            if (result = writePage(*reading, reading->pages[size_t(index)]); result != Joined)
                return result;
        }
    } catch (const std::exception &error) {
        m_failure = QString::fromStdString(error.what());
        qCWarning(lcPrint).noquote() << "joining the parts:" << m_failure;
        return PartUnreadable;
    }
    if (lastTime)
        m_parts.erase(part);
    return Joined;
}

// The page under the joined file's page tree, then every object it uses that
// is not in the file yet.
PdfJoin::Result PdfJoin::writePage(Part &part, QPDFObjectHandle page)
{
    const int number = reserveObject();
    m_pages.push_back(number);
    QByteArray text = QByteArray::number(number) + " 0 obj\n";
    part.dictionary(page, {"/Type", "/Parent"}, text, *this);
    text += "/Type /Page\n/Parent " + QByteArray::number(PageTreeObject) + " 0 R>>\nendobj\n";
    beginObject(number);
    if (const Result result = write(text); result != Joined)
        return result;
    while (!part.waiting.empty()) {
        const auto [waitingNumber, object] = part.waiting.front();
        part.waiting.pop_front();
        text.clear();
        part.object(waitingNumber, object, text, *this);
        beginObject(waitingNumber);
        if (const Result result = write(text); result != Joined)
            return result;
    }
    return m_keepGoing() ? Joined : Cancelled;
}

PdfJoin::Part *PdfJoin::partFor(const QString &file, Result *result)
{
    std::unique_ptr<Part> &part = m_parts[file];
    if (part)
        return part.get();
    part = std::make_unique<Part>(file);
    try {
        if (part->open())
            return part.get();
        m_failure = part->file.errorString();
    } catch (const std::exception &error) {
        m_failure = QString::fromStdString(error.what());
    }
    qCWarning(lcPrint).noquote() << "joining the parts: cannot read" << file << "-" << m_failure;
    m_parts.erase(file);
    *result = PartUnreadable;
    return nullptr;
}

PdfJoin::Result PdfJoin::finish()
{
    if (m_failed)
        return WriteFailed;
    if (m_written == 0)
        if (const Result result = write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"); result != Joined)
            return result;
    QByteArray tree = QByteArray::number(PageTreeObject) + " 0 obj\n<</Type /Pages\n/Kids [";
    for (const int page : m_pages)
        tree += QByteArray::number(page) + " 0 R\n";
    tree += "]\n/Count " + QByteArray::number(qsizetype(m_pages.size())) + ">>\nendobj\n";
    beginObject(PageTreeObject);
    if (const Result result = write(tree); result != Joined)
        return result;
    beginObject(CatalogueObject);
    if (const Result result = write(QByteArray::number(CatalogueObject) + " 0 obj\n<</Type /Catalog\n/Pages "
                                    + QByteArray::number(PageTreeObject) + " 0 R>>\nendobj\n");
        result != Joined)
        return result;

    const qint64 table = m_written;
    QByteArray end = "xref\n0 " + QByteArray::number(qsizetype(m_offsets.size())) + "\n0000000000 65535 f \n";
    for (size_t number = 1; number < m_offsets.size(); ++number)
        end += QByteArray::number(m_offsets[number]).rightJustified(10, '0') + " 00000 n \n";
    end += "trailer\n<</Size " + QByteArray::number(qsizetype(m_offsets.size())) + "\n/Root "
        + QByteArray::number(CatalogueObject) + " 0 R\n";
    if (m_info > 0)
        end += "/Info " + QByteArray::number(m_info) + " 0 R\n";
    end += ">>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
    return write(end);
}

PdfJoin::Result PdfJoin::write(const QByteArray &bytes)
{
    if (m_failed)
        return WriteFailed;
    if (m_target.write(bytes) != bytes.size()) {
        m_failed = true;
        m_failure = m_target.errorString();
        qCWarning(lcPrint).noquote() << "joining the parts: cannot write the joined PDF -" << m_failure;
        return WriteFailed;
    }
    m_written += bytes.size();
    return Joined;
}

int PdfJoin::reserveObject()
{
    m_offsets.push_back(-1);
    return int(m_offsets.size()) - 1;
}

void PdfJoin::beginObject(int number)
{
    m_offsets[size_t(number)] = m_written;
}
