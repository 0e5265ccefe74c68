#pragma once

#include "shared/offline/LocalFile.h"
#include "shared/records/PresenceDay.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>
#include <optional>

// The station's copy of what a scan needs while the server is away
// (station-cache.db in the data folder): every employee's barcode, number,
// name, department and photo, and one day's records. A refresh reads the
// server and replaces the copy in one transaction, so a reader sees the old
// copy or the new one, never half of either.
class StationCache {
public:
    struct Employee {
        QString number, name, department;
        QByteArray photo;
    };

    explicit StationCache(const QString& path);
    // `unusable`: what becomes of a file there that cannot be used.
    StationCache(const QString& path, LocalFile::Unusable unusable);
    bool IsOpen() const { return m_file.IsOpen(); }
    // The file: where an unusable one was kept, why it is not open.
    const LocalFile& File() const { return m_file; }

    // Reads employees and the records of `day` on the session `server` (the
    // main database); false (the copy unchanged) when the server or the
    // file failed.
    bool Refresh(DbSession& server, const QDate& day, const QDateTime& now);
    // The time of the last refresh (invalid: never refreshed).
    QDateTime RefreshedAt() const;

    std::optional<Employee> Find(const QString& barcode) const;
    // The copy's records of `number` on `day` (a departure is known, not its time).
    PresenceDay Day(const QString& number, const QDate& day) const;

private:
    LocalFile m_file;
};
