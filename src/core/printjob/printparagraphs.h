// The paragraphs a print job prints, copied from the preview's document on the
// thread that owns it, a stretch at a time, for the threads that lay out and
// draw the pages. Those never touch the preview's document, which the window
// may lay out or draw at the same moment, nor share a text format with it or
// with each other: Qt's formats work out their font and hash on first use.
#pragma once

#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextFormat>
#include <QTextLayout>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

class QTextDocument;

// A paragraph as plain values: its text and where each format applies, with
// the formats named by their place in the job's own list of formats.
struct PrintParagraph {
    struct Run {
        int start;
        int length;
        int format;
    };
    QString text;
    std::vector<Run> runs;
    int blockFormat = 0;
    int blockCharFormat = 0;
    // Where the paragraph's text begins in the source document.
    int sourcePosition = 0;
};

class PrintParagraphs
{
public:
    // Characters `from` up to `to` of `source`, which must not change until
    // everything is copied. Made on the thread that owns `source`.
    PrintParagraphs(const QTextDocument &source, int from, int to);

    // On the thread that owns the source: copies more paragraphs, for about
    // `budgetMs`; false once all are copied.
    bool copyStep(int budgetMs);

    // Any thread: paragraph `index`, waiting until it is copied; none past the
    // last paragraph or once the job is stopped.
    std::optional<PrintParagraph> paragraph(int index);
    // Any thread: the format `index`, a copy that shares nothing with any other.
    QTextFormat format(int index);
    // Paragraphs before `index` are not asked for again.
    void forgetBefore(int index);
    // Wakes every thread waiting for a paragraph, for good.
    void stop();

    // The share of the text before source position `position`, from 0 to 1.
    double shareBefore(int position) const;

private:
    void copyParagraph();
    int formatIndex(const QTextFormat &format, int sourceIndex);

    const QTextDocument &m_source;
    const int m_from;
    const int m_to;
    int m_next;

    mutable std::mutex m_mutex;
    std::condition_variable m_copied;
    std::deque<PrintParagraph> m_paragraphs;
    int m_firstKept = 0;
    int m_furthestAsked = 0;
    bool m_allCopied = false;
    bool m_stopped = false;
    std::vector<QTextFormat> m_formats;
    // The job's format for each of the source's formats, by the source's index.
    std::vector<int> m_formatOfSource;
};
