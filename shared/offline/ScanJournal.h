#pragma once

#include "shared/offline/LocalFile.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// The station's journal of the scans it greeted while the server was away
// (station-journal.db in the data folder): each scan committed before its
// greeting, with an id of its own, the barcode and number, the station's
// time, what the station showed, and whether the server has it yet.
class ScanJournal {
public:
    struct Entry {
        qint64 seq = 0;
        QString scanId, barcode, number;
        QDateTime at;
        qint16 state = 0; // clsPresence::State as greeted; 0 for an unknown card
        bool replayed = false;
    };

    explicit ScanJournal(const QString& path);
    // `unusable`: what becomes of a file there that cannot be used.
    ScanJournal(const QString& path, LocalFile::Unusable unusable);
    bool IsOpen() const { return m_file.IsOpen(); }
    // The file: where an unusable one was kept, why it is not open.
    const LocalFile& File() const { return m_file; }

    // Keeps a scan (committed on return); its id, or empty on failure.
    QString Add(const QString& barcode, const QString& number, const QDateTime& at, qint16 state) {
        return Append(barcode, number, at, state).scanId;
    }
    // The same, the scan as Pending reads it back (its scanId empty on failure).
    Entry Append(const QString& barcode, const QString& number, const QDateTime& at, qint16 state);
    // The scans the server does not have yet, in scan order (at most
    // `limit`); *ok false where the journal could not be read.
    QVector<Entry> Pending(int limit = 1000, bool* ok = nullptr) const;
    int PendingCount() const;
    // A number's scans of a day, in scan order.
    QVector<Entry> Day(const QString& number, const QDate& day) const;
    // The server has the scan; `state` is what it made of it (0: unknown card).
    bool MarkReplayed(const QString& scanId, qint16 state) {
        return MarkReplayed(QVector<Mark>{{scanId, state}});
    }
    // Several in one commit. A number given is kept with the scan (a card
    // the station did not know when it was journalled).
    struct Mark {
        QString scanId;
        qint16 state = 0;
        QString number = QString();
    };
    bool MarkReplayed(const QVector<Mark>& marks);
    // What the station greeted a scan that the server does not have yet
    // with (from its copy): the number and the state. A scan the server has
    // meanwhile keeps the server's.
    bool SetGreeted(const QString& scanId, const QString& number, qint16 state);
    // Forgets the scans the server has that were made before `before`
    // (those of the day stay: the rule reads them while the server is away).
    bool Prune(const QDateTime& before);
    // Whether a commit on this connection waits for the disk (the default).
    // The worker's marks and prunes need not: a mark lost to a power cut
    // leaves its scan pending, and the server, knowing its id, takes it once.
    bool SetFlushOnCommit(bool flush);

private:
    QVector<Entry> read(const QString& where, const QVariantList& params, bool* ok = nullptr) const;
    LocalFile m_file;
};
