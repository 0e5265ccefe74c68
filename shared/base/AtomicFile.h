#pragma once

#include "error/Error.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

// Writes a whole file so that readers and a crash never see it half written:
// the bytes go to an unnamed file in the target's folder (O_TMPFILE), are
// flushed to the disk and only then linked to the target's name, so a killed
// process leaves nothing behind. Where the file system has no unnamed files, a
// hidden temporary file beside the target takes their place. In Refuse mode an
// existing file at the target is never replaced (also one that appears while
// writing); in Replace mode the old file is replaced in one step once the new
// one is complete.
class AtomicFile {
public:
    enum class Existing { Refuse, Replace };

    explicit AtomicFile(const QString& path) : m_path(path) {}

    // The new file takes the mode and, where allowed, the owner of `old`
    // (a rewrite keeps the file's permissions).
    void keepAttributesOf(const struct stat& old) {
        m_old = old;
        m_keep = true;
    }
    // The new file gets exactly this mode, whatever the umask.
    void setMode(mode_t mode) {
        m_old.st_mode = mode;
        m_old.st_uid = ::geteuid();
        m_old.st_gid = ::getegid();
        m_keep = true;
    }

    // False with errorString() set when the file could not be written; the
    // target is then as it was and no temporary file is left.
    bool write(const QByteArray& bytes, Existing existing);
    QString errorString() const { return m_error; }

    // A whole new file (created as the umask allows), replacing an existing
    // one or refusing it; false with *error naming the file and the cause.
    static bool WriteWhole(const QString& path, const QByteArray& bytes, bool replace,
                           Error* error);

    // For the tests: write as on a file system without unnamed files, and
    // flush the new file's data with `sync` instead of fsync (nullptr: fsync).
    static void SetTestSeams(bool refuseUnnamed, int (*sync)(int));

private:
    bool fail(const QString& message);
    bool writeUnnamed(int fd, const QByteArray& bytes, Existing existing);
    bool writeNamed(const QByteArray& bytes, Existing existing);
    bool applyAttributes(int fd);

    QString m_path;
    struct stat m_old {};
    bool m_keep = false;
    QString m_error;
};
