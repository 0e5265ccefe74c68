#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One private-profile (INI) file, read and written a single key at a time.
//
// The file is stored in GBK (the Chinese ANSI code page). Group and key names
// match without regard to case; a value read loses its leading and trailing
// blanks and one pair of enclosing quotation marks, and is cut to its first
// 254 GBK bytes without splitting a double-byte character. Anything absent
// (file, group, key) reads as the empty text.
//
// A write takes an exclusive lock on "<file>.lock" beside the file, reads the
// file, changes or adds the one key, writes the result to a new file in the
// same directory, flushes it to disk and renames it over the old one. A new
// file is created with mode 0660; a rewrite keeps the file's mode and owner. Every
// other line stays byte for byte as it was, and readers never see a partly
// written file. Two programs writing different keys at once both keep theirs.
class IniFile {
public:
    explicit IniFile(const QString& fileName) : m_fileName(fileName) {}

    QString fileName() const { return m_fileName; }

    // The value of key in group, or the empty text.
    QString Read(const QString& group, const QString& key) const;

    // Writes key=value in group, creating the file, the group and the key as
    // needed. A value with blanks at an end or enclosed in quotes is stored
    // inside one more pair of double quotes, so that Read gives it back
    // unchanged. False when nothing could be written: the file or its directory
    // is not writable, or the text cannot be stored in an INI line (a name or
    // value with a line break, a character without a GBK code, an empty name,
    // a key containing '=' or a group containing ']').
    bool Write(const QString& group, const QString& key, const QString& value);

    // Several keys in one rewrite of the file, under the same rules: all of
    // them are written or, when one cannot be, none.
    struct Entry {
        QString group, key, value;
    };
    bool Write(const QList<Entry>& entries);

    // Longest value a read returns, in GBK bytes.
    static constexpr int MaxValueBytes = 254;

    // GBK conversion of the configuration file. ToAnsi sets *ok to false when
    // some character has no GBK code (it is then written as '?').
    static QByteArray ToAnsi(const QString& text, bool* ok = nullptr);
    static QString FromAnsi(const QByteArray& bytes);

private:
    QString m_fileName;
};
