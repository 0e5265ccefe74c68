#include "tests/tools/helpers/AdminTool.h"

#include "shared/db/DbOpener.h"
#include "shared/db/ScopedConnection.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace AdminTool {

QString Path() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/attendance-admin");
}

ToolRun Run(const QStringList& args) {
    return RunTool(Path(), args);
}

bool Runs(const QStringList& args) {
    const ToolRun r = Run(args);
    if (r.code != 0)
        qWarning("%s: %s", qPrintable(args.join(QLatin1Char(' '))), qPrintable(r.err));
    return r.code == 0;
}

namespace {
bool endsWith(int code, const QStringList& args, const QStringList& says) {
    const ToolRun r = Run(args);
    bool ok = r.code == code && !r.err.isEmpty();
    for (const QString& s : says)
        ok = ok && r.err.contains(s);
    if (!ok)
        qWarning("%s: %d %s", qPrintable(args.join(QLatin1Char(' '))), r.code, qPrintable(r.err));
    return ok;
}
} // namespace

bool Fails(const QStringList& args, const QStringList& says) {
    return endsWith(1, args, says);
}

bool Misuses(const QStringList& args, const QStringList& says) {
    return endsWith(2, args, says);
}

bool ChangeFile(const QString& dbFile, const QStringList& statements) {
    const ScopedConnection name(QStringLiteral("AdminTool_ChangeFile"));
    QSqlDatabase db = DbOpener::OpenFile(dbFile, name.name(), DbOpener::Profile::New);
    QSqlQuery q(db);
    for (const QString& sql : statements)
        if (!q.exec(sql))
            return false;
    return db.isValid();
}

} // namespace AdminTool
