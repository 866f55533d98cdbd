// Lets go of the fonts that the laid-out blocks of a document hold, so a
// catalogue of thousands of families keeps only the fonts of what is on screen loaded.
#pragma once

#include <QObject>
#include <QTimer>

class QTextDocument;

class FontRelease : public QObject
{
    Q_OBJECT
public:
    // Watches the document's layout: lets go whenever a batch of blocks has
    // been laid out, and once the layout has come to rest.
    explicit FontRelease(QTextDocument *document, QObject *parent = nullptr);

    // Lets go once the document has been still for a moment, e.g. after the
    // view scrolled and drew blocks again.
    void releaseSoon();

signals:
    void released();

private:
    void layoutProgressed();
    void release(int fromBlock);

    const QTextDocument *m_document;
    int m_laidOutAtLastRelease = 0;
    QTimer m_batch;
    QTimer m_soon;
};
