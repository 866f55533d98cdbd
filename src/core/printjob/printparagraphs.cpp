#include "printjob/printparagraphs.h"

#include <QElapsedTimer>
#include <QMap>
#include <QTextBlock>
#include <QTextDocument>
#include <QVariant>

namespace {
// How far copying may run ahead of the furthest paragraph asked for: a few
// parts' worth, so the copy of a catalogue of thousands of families never lies
// in memory whole.
constexpr int MostAhead = 4096;

// A format of its own, with the same properties.
QTextFormat detached(const QTextFormat &format)
{
    QTextFormat copy(format.type());
    const QMap<int, QVariant> properties = format.properties();
    for (auto property = properties.cbegin(); property != properties.cend(); ++property)
        copy.setProperty(property.key(), property.value());
    return copy;
}
} // namespace

PrintParagraphs::PrintParagraphs(const QTextDocument &source, int from, int to)
    : m_source(source),
      m_from(from),
      m_to(to),
      m_next(from)
{ }

bool PrintParagraphs::copyStep(int budgetMs)
{
    QElapsedTimer step;
    step.start();
    while (step.elapsed() < budgetMs) {
        {
            const std::lock_guard lock(m_mutex);
            if (m_stopped || m_allCopied)
                return false;
            if (m_firstKept + int(m_paragraphs.size()) >= m_furthestAsked + MostAhead)
                return true;
        }
        copyParagraph();
    }
    const std::lock_guard lock(m_mutex);
    return !m_stopped && !m_allCopied;
}

// The paragraph at the next position, as far as the range reaches. A range that
// ends just after a paragraph's end takes the empty start of the next paragraph
// with it, as a copy of the range in a document would.
void PrintParagraphs::copyParagraph()
{
    const QTextBlock block = m_source.findBlock(m_next);
    const int begin = m_next;
    const int blockEnd = block.position() + block.length() - 1;
    const int end = qMin(blockEnd, m_to);
    struct Fragment {
        int start, length;
        QTextCharFormat format;
        int formatIndex;
    };
    std::vector<Fragment> fragments;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int start = qMax(fragment.position(), begin);
        const int stop = qMin(fragment.position() + fragment.length(), end);
        if (stop > start)
            fragments.push_back({start - begin, stop - start, fragment.charFormat(), fragment.charFormatIndex()});
    }
    PrintParagraph paragraph;
    paragraph.sourcePosition = begin;
    paragraph.text = block.text().mid(begin - block.position(), end - begin);
    m_next = blockEnd + 1;
    const bool last = m_to <= blockEnd || m_next == m_to;

    const std::lock_guard lock(m_mutex);
    paragraph.blockFormat = formatIndex(block.blockFormat(), block.blockFormatIndex());
    paragraph.blockCharFormat = formatIndex(block.charFormat(), block.charFormatIndex());
    for (const Fragment &fragment : fragments)
        paragraph.runs.push_back({fragment.start, fragment.length, formatIndex(fragment.format, fragment.formatIndex)});
    m_paragraphs.push_back(std::move(paragraph));
    if (const QTextBlock following = block.next(); m_next == m_to && m_to > blockEnd && following.isValid()) {
        PrintParagraph empty;
        empty.sourcePosition = m_to;
        empty.blockFormat = formatIndex(following.blockFormat(), following.blockFormatIndex());
        empty.blockCharFormat = formatIndex(following.charFormat(), following.charFormatIndex());
        m_paragraphs.push_back(std::move(empty));
    }
    m_allCopied = last;
    m_copied.notify_all();
}

std::optional<PrintParagraph> PrintParagraphs::paragraph(int index)
{
    std::unique_lock lock(m_mutex);
    m_furthestAsked = qMax(m_furthestAsked, index);
    m_copied.wait(lock, [&] { return m_stopped || m_allCopied || index < m_firstKept + int(m_paragraphs.size()); });
    if (m_stopped || index < m_firstKept || index >= m_firstKept + int(m_paragraphs.size()))
        return std::nullopt;
    return m_paragraphs[size_t(index - m_firstKept)];
}

QTextFormat PrintParagraphs::format(int index)
{
    const std::lock_guard lock(m_mutex);
    return detached(m_formats.at(size_t(index)));
}

void PrintParagraphs::forgetBefore(int index)
{
    const std::lock_guard lock(m_mutex);
    while (m_firstKept < index && !m_paragraphs.empty()) {
        m_paragraphs.pop_front();
        ++m_firstKept;
    }
}

void PrintParagraphs::stop()
{
    const std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_copied.notify_all();
}

double PrintParagraphs::shareBefore(int position) const
{
    if (m_to <= m_from)
        return 1.0;
    return qBound(0.0, double(position - m_from) / double(m_to - m_from), 1.0);
}

// Under the lock: the list of formats grows while other threads copy from it.
int PrintParagraphs::formatIndex(const QTextFormat &format, int sourceIndex)
{
    if (sourceIndex < 0) {
        m_formats.push_back(detached(format));
        return int(m_formats.size()) - 1;
    }
    if (size_t(sourceIndex) >= m_formatOfSource.size())
        m_formatOfSource.resize(size_t(sourceIndex) + 1, -1);
    int &own = m_formatOfSource[size_t(sourceIndex)];
    if (own < 0) {
        own = int(m_formats.size());
        m_formats.push_back(detached(format));
    }
    return own;
}
