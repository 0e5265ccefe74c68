#pragma once

#include "shared/db/DbSession.h"

#include <QString>
#include <QStringList>

// A station's own SQLite file (the copy, the journal), on a session of its
// own (DbOpener's Local profile) for the thread that opens it: created with
// `schema` when new, written ahead (WAL) and synced at each commit. The file
// and its -wal and -shm are private to the owner and the group (a new one
// gets mode 0660 whatever the umask; an existing one loses the others'
// rights).
class LocalFile {
public:
    // What becomes of a file that is there but cannot be used (damaged,
    // read-only, of another layout, not a file): left as it is, or kept
    // under a new name beside it (with its -wal, -shm and -journal) and a
    // new one started in its place.
    enum class Unusable { Leave, SetAside };

    LocalFile(const QString& path, const QStringList& schema, Unusable unusable = Unusable::Leave);
    ~LocalFile();
    LocalFile(const LocalFile&) = delete;
    LocalFile& operator=(const LocalFile&) = delete;

    bool IsOpen() const { return m_open; }
    // The file's session, on the thread that opened it (reads of a const
    // file run on it too).
    DbSession& Session() const { return m_session; }
    QString Path() const { return m_path; }

    // Where the unusable file was kept (empty: nothing was set aside).
    QString KeptAs() const { return m_keptAs; }
    // Why the file was set aside, or why it is not open (English, for the
    // log); empty when it opened at once.
    QString Problem() const { return m_problem; }
    // The folder cannot hold the file (read-only, missing): nothing was set
    // aside and the file is not open.
    bool FolderUnusable() const { return m_folderUnusable; }

    // The name a file set aside at `path` gets: "<path>.damaged-YYYYMMDD-HHMMSS"
    // by AppClock, with "-2", "-3", ... when that name (or its -wal or -shm)
    // is taken.
    static QString KeptName(const QString& path);

private:
    enum class Verdict { Open, Unusable, Transient };
    Verdict open(const QStringList& schema);
    void close();
    bool setAside();

    QString m_path;
    mutable DbSession m_session;
    QString m_keptAs;
    QString m_problem;
    bool m_open = false;
    bool m_folderUnusable = false;
};
