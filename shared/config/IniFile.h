#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// One private-profile (INI) file, read and written a single key at a time.
//
// The file is stored in GBK (the Chinese ANSI code page), or in UTF-8 when it
// starts with a UTF-8 byte-order mark (it keeps the mark and its encoding when
// it is rewritten; the cut below then counts UTF-8 bytes). Group and key names
// match without regard to case; a value read loses its leading and trailing
// blanks and one pair of enclosing quotation marks, and is cut to its first
// 254 GBK bytes without splitting a double-byte character. Anything absent
// (file, group, key) reads as the empty text.
//
// A read parses the file once; the parse is reused while the file's bytes
// stay the same. A write takes an exclusive lock on "<file>.lock" beside the
// file, reads the file, changes or adds the keys, writes the result to a new
// file in the same directory, flushes it to disk and renames it over the old
// one. A new file is created with mode 0660; a rewrite keeps the file's mode
// and owner. Every other line stays byte for byte as it was, and readers never
// see a partly written file. Two programs writing different keys at once both
// keep theirs.
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
    // value with a line break, a character without a code in the file's
    // encoding, an empty name, a key containing '=' or a group containing ']').
    bool Write(const QString& group, const QString& key, const QString& value);

    struct Entry {
        QString group, key, value;
    };
    // Writes several keys in one rewrite of the file, with the rules of
    // Write: all of them or, when one cannot be stored, none.
    bool WriteKeys(const std::vector<Entry>& entries);

    // Why the file cannot be read ("cannot read FILE: CAUSE"); empty when it
    // can be read or does not exist.
    QString ReadProblem() const;

    // Longest value a read returns, in bytes of the file's encoding.
    static constexpr int MaxValueBytes = 254;

    // GBK conversion (a file without byte-order mark). ToAnsi sets *ok to
    // false when some character has no GBK code (it is then written as '?').
    static QByteArray ToAnsi(const QString& text, bool* ok = nullptr);
    static QString FromAnsi(const QByteArray& bytes);

private:
    QString m_fileName;
};
