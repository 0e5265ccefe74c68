#include "shared/rowset/RowSetXml.h"

#include "shared/base/AtomicFile.h"
#include "shared/rowset/RowSetXmlReader.h"
#include "shared/rowset/RowSetXmlWriter.h"

#include <QFile>
#include <QFileInfo>

namespace RowSetXml {
namespace {

void setError(Error* error, const QString& message) {
    Error(message).Report(error);
}

bool saveFile(const RowSet& rs, const QString& path, AtomicFile::Existing existing, Error* error) {
    if (path.isEmpty()) {
        setError(error, QStringLiteral("No file name given"));
        return false;
    }
    Error problem;
    const QByteArray bytes = RowSetXmlWriter::Serialize(rs, &problem);
    if (problem.IsSet())
        return problem.Within(QStringLiteral("Cannot save %1").arg(path)).Report(error);
    AtomicFile file(path);
    if (!file.write(bytes, existing)) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

} // namespace

QByteArray Serialize(const RowSet& rs) {
    return RowSetXmlWriter::Serialize(rs);
}

bool Save(const RowSet& rs, const QString& path, Error* error) {
    return saveFile(rs, path, AtomicFile::Existing::Refuse, error);
}

bool SaveReplacing(const RowSet& rs, const QString& path, Error* error) {
    return saveFile(rs, path, AtomicFile::Existing::Replace, error);
}

bool Parse(const QByteArray& bytes, RowSet* out, Error* error) {
    if (bytes.size() > MaxFileSize) {
        setError(error,
                 QStringLiteral("The row-set data is larger than %1 bytes").arg(MaxFileSize));
        return false;
    }
    return RowSetXmlReader::Parse(bytes, out, error);
}

bool Load(const QString& path, RowSet* out, Error* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        setError(error, QStringLiteral("The file %1 does not exist").arg(path));
        return false;
    }
    if (!info.isFile()) {
        setError(error, QStringLiteral("%1 is not a file").arg(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
        return false;
    }
    if (file.size() > MaxFileSize) {
        setError(error,
                 QStringLiteral("The file %1 is larger than %2 bytes").arg(path).arg(MaxFileSize));
        return false;
    }
    // Read at most one byte past the limit, in case the file grew meanwhile.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    Error message;
    return Parse(bytes, out, &message) || message.Within(path).Report(error);
}

} // namespace RowSetXml
