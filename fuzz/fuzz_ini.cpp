// libFuzzer target: the configuration file reader on arbitrary file contents,
// and a key changed in the parsed bytes, which must read back as written.
#include "shared/config/IniDocument.h"
#include "shared/config/IniFile.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("attendance.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    IniFile ini(path);
    // The keys the programs read, and a group and key taken from the input.
    for (const char* group : {"DATA", "OTHER", "UNIT", "MEMO", "LOGO", "ATTENDANCE"})
        for (const char* key : {"PATH", "ALP", "UNITNAME", "FONTNAME", "DBSERVER"})
            (void)ini.Read(QLatin1String(group), QLatin1String(key));
    const QString text = IniFile::FromAnsi(QByteArray(
        reinterpret_cast<const char*>(data), static_cast<qsizetype>(qMin<size_t>(size, 64))));
    (void)ini.Read(text.left(16), text.mid(16));

    IniDocument doc(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const QString value = QStringLiteral(" 北京 \"x\" ");
    if (!doc.Set(QStringLiteral("UNIT"), QStringLiteral("UNITNAME"), value) ||
        doc.Value(QStringLiteral("unit"), QStringLiteral("UnitName")) != value)
        __builtin_trap();
    return 0;
}
