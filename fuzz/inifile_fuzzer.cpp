// Feeds arbitrary bytes to the settings file as if the user had written them,
// stores a value in it, and checks what must hold for every file: the value
// reads back, every other value reads as before, and a value survives its own
// quoting.
#include "settings/inifile.h"

#include <cstdint>
#include <cstdlib>

namespace {

const QByteArray Group("Typecaddy");
const QByteArray Key("Titel");
const QByteArray Other("FontSize");

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    // The first bytes, up to a NUL, are the value to store; the rest is the file.
    const qsizetype split = bytes.indexOf('\0');
    const QString value = QString::fromUtf8(split < 0 ? QByteArray() : bytes.first(split));
    const QByteArray contents = split < 0 ? bytes : bytes.sliced(split + 1);

    require(IniFile::unescaped(IniFile::escaped(value)) == value);

    IniFile file(contents);
    const std::optional<QString> otherBefore = file.value(Group, Other);
    file.setValue(Group, Key, value);
    const IniFile reread(file.contents());
    require(reread.value(Group, Key) == value);
    require(reread.value(Group, Other) == otherBefore);
    return 0;
}
