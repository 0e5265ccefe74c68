#include "shared/base/ProgramDirectory.h"

#include <QCoreApplication>

namespace {
QString& overrideDir() {
    static QString d;
    return d;
}
} // namespace

QString ProgramDirectory() {
    if (!overrideDir().isEmpty())
        return overrideDir();
    return QCoreApplication::applicationDirPath();
}

QString ConfigurationDirectory() {
#ifdef ATTENDANCE_CONFIG_DIR
    if (overrideDir().isEmpty())
        return QStringLiteral(ATTENDANCE_CONFIG_DIR);
#endif
    return ProgramDirectory();
}

void SetProgramDirectory(const QString& dir) {
    overrideDir() = dir;
}

QString JoinPath(const QString& dir, const QString& name) {
    QString d = dir;
    d.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (d.size() > 1 && d.endsWith(QLatin1Char('/')))
        d.chop(1);
    return d + QLatin1Char('/') + name;
}
