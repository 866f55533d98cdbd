// Feeds arbitrary bytes, read both ways the download decodes them, to the
// version reader and checks what must hold for every text.
#include "web/versionreading.h"

#include <cstdint>
#include <cstdlib>
#include <tuple>

namespace {

void check(const QString &text)
{
    const VersionReading reading = readVersionText(text);
    if (reading.received == reading.shownText.isEmpty())
        std::abort();
    if (!reading.received)
        return;
    if (reading.shownText.startsWith(QLatin1Char(' ')) || reading.shownText.endsWith(QLatin1Char(' ')))
        std::abort();
    if (!text.contains(reading.shownText))
        std::abort();
    const auto found = std::make_tuple(reading.found.major, reading.found.minor, reading.found.revision);
    const auto own = std::make_tuple(AppVersion.major, AppVersion.minor, AppVersion.revision);
    if (reading.newer != (found > own))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    check(QString::fromUtf8(bytes));
    check(QString::fromLatin1(bytes));
    return 0;
}
