#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// Writes a whole file so that readers and a crash never see it half written:
// the bytes go to a temporary file beside the target, are flushed to the disk
// and only then get the target's name. In Refuse mode an existing file at the
// target is never replaced (also one that appears while writing); in Replace
// mode the old file is replaced in one step once the new one is complete.
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

    // False with errorString() set when the file could not be written; the
    // target is then as it was and no temporary file is left.
    bool write(const QByteArray& bytes, Existing existing);
    QString errorString() const { return m_error; }

private:
    bool fail(const QString& message);

    QString m_path;
    struct stat m_old {};
    bool m_keep = false;
    QString m_error;
};
