#pragma once

#include <QString>
#include <QtGlobal>

// A temporary file without a name in the temporary folder: data too large
// to keep in memory is appended to it and read back from any place. Nothing
// is left behind, even when the process is killed.
class ScratchFile {
public:
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // False (Error() names the cause, e.g. a full disk) when the bytes could not be stored.
    bool Append(const void* data, qint64 n);
    bool ReadAt(qint64 offset, void* to, qint64 n) const;
    qint64 Size() const { return m_size; }
    QString Error() const { return m_error; }

private:
    bool fail(const char* what, int error) const;

    int m_fd = -1;
    qint64 m_size = 0;
    mutable QString m_error;
};
