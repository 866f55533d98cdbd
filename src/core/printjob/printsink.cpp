#include "printjob/printsink.h"

PrintSink::PrintSink(QIODevice *target, std::function<void()> onWrite) : m_target(target), m_onWrite(std::move(onWrite))
{ }

qint64 PrintSink::readData(char *, qint64)
{
    return -1;
}

qint64 PrintSink::writeData(const char *data, qint64 size)
{
    // After a failed write the file has a hole; nothing written after it is of use.
    if (m_failed)
        return -1;
    const qint64 written = m_target->write(data, size);
    if (written != size)
        m_failed = true;
    if (m_onWrite)
        m_onWrite();
    return written;
}
