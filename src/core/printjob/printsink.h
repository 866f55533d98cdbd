// The device a print job's PDF is written through: it passes every write on to
// the real file and lets the job's progress window repaint meanwhile, since
// finishing a PDF of a thousand fonts takes a while of its own.
#pragma once

#include <QIODevice>

#include <functional>

class PrintSink : public QIODevice
{
public:
    PrintSink(QIODevice *target, std::function<void()> onWrite);

    bool failed() const { return m_failed; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    QIODevice *m_target;
    std::function<void()> m_onWrite;
    bool m_failed = false;
};
