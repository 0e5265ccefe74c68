#include "tools/admin/commands/CommandFiles.h"

#include "shared/base/AtomicFile.h"

#include <QFile>

namespace CommandFiles {

int Reported(Admin::Context& c, bool ok, const Error& error, const QString& done) {
    if (!ok)
        return Admin::Fail(c.err,
                           error.IsSet() ? error.Text() : QStringLiteral("operation failed"));
    c.out << done << Qt::endl;
    return Admin::Success;
}

int Wrote(Admin::Context& c, bool ok, const Error& error, const QString& file) {
    return Reported(c, ok, error, QStringLiteral("wrote %1").arg(file));
}

int WriteNew(Admin::Context& c, const QByteArray& bytes, const QString& what) {
    Error error;
    if (!AtomicFile::WriteWhole(c.args[0], bytes, false, &error))
        return Admin::Fail(c.err, error.Text());
    c.out << "wrote " << c.args[0] << " (" << what << ")" << Qt::endl;
    return Admin::Success;
}

bool ReadWhole(Admin::Context& c, QByteArray* bytes) {
    QFile file(c.args[0]);
    if (!file.open(QIODevice::ReadOnly))
        return Admin::Fail(c.err,
                           QStringLiteral("cannot read %1: %2").arg(c.args[0], file.errorString()));
    *bytes = file.readAll();
    return true;
}

} // namespace CommandFiles
