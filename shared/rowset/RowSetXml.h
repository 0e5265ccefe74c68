#pragma once

#include "error/Error.h"

#include "shared/rowset/RowSet.h"

#include <QString>

// Writer and reader of the row-set XML persistence format used by the
// exchange files (schema part with one AttributeType per column, data part
// with z:row elements; bin.hex binaries; dateTime values; null = absent).
namespace RowSetXml {

// Encodes the row set as the format's bytes (UTF-8, CRLF, tabs, no BOM).
QByteArray Serialize(const RowSet& rs);

// Writes to `path`. Fails when a file already exists there, leaving it
// untouched; writes beside the target and renames, so a failure never leaves
// a partial file. Returns false with a message in *error.
bool Save(const RowSet& rs, const QString& path, Error* error = nullptr);

// Writes to `path`, replacing an existing file only once the new file is
// complete (write beside, then rename over).
bool SaveReplacing(const RowSet& rs, const QString& path, Error* error = nullptr);

// Parses a file: rows inside rs:insert and rs:update (merged with its
// original and rs:forcenull) are visible, rows inside rs:delete are hidden.
// Anything that is not such a row set gives false and a message.
bool Parse(const QByteArray& bytes, RowSet* out, Error* error = nullptr);
bool Load(const QString& path, RowSet* out, Error* error = nullptr);

// Largest file Load accepts.
constexpr qint64 MaxFileSize = 512LL * 1024 * 1024;

} // namespace RowSetXml
