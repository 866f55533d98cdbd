// The device a print job's PDF is written through: it passes every write on to
// the real file and remembers the first that failed, which Qt's PDF writer
// would not tell, writing nothing after it.
#pragma once

#include <QIODevice>

class PrintSink : public QIODevice
{
public:
    explicit PrintSink(QIODevice *target);

    bool failed() const { return m_failed; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    QIODevice *m_target;
    bool m_failed = false;
};
