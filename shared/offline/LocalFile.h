#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// A station's own SQLite file (the copy, the journal), on a connection of
// its own for the thread that opens it: created with `schema` when new,
// written ahead (WAL) and synced at each commit.
class LocalFile {
public:
    LocalFile(const QString& path, const QStringList& schema);
    ~LocalFile();
    LocalFile(const LocalFile&) = delete;
    LocalFile& operator=(const LocalFile&) = delete;

    bool IsOpen() const { return m_open; }
    QSqlDatabase Db() const;
    QString Path() const { return m_path; }

private:
    QString m_path;
    QString m_name;
    bool m_open = false;
};
