#include "printjob/printsink.h"

PrintSink::PrintSink(QIODevice *target) : m_target(target) { }

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
    return written;
}
