#pragma once

#include <QString>

// Creates a new database file with the tables and indexes. Refuses (false)
// when the file exists. The file is readable and writable by owner and group only.
namespace DatabaseSchema {
bool Create(const QString& path, QString* error = nullptr);
// The statements that create the schema, in order.
QStringList Statements();
} // namespace DatabaseSchema
