#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The bytes of one configuration file, parsed once into groups and keys.
//
// Reading looks names up in the parsed lines; changing a key splices the new
// line into the bytes, so every other line stays byte for byte as it was. The
// file is GBK unless it starts with a UTF-8 byte-order mark; it is then read
// and written as UTF-8 and keeps its mark.
class IniDocument {
public:
    enum class Encoding { Gbk, Utf8 };

    explicit IniDocument(const QByteArray& bytes = QByteArray());

    const QByteArray& bytes() const { return m_bytes; }
    Encoding encoding() const { return m_encoding; }

    // The value of key in the first group named `group` (the private-profile
    // read rules), or nothing when the group or key is absent.
    std::optional<QString> Value(const QString& group, const QString& key) const;

    // Changes or adds key=value in group, creating the group as needed. The
    // names are the trimmed texts the caller checked; false when a name or the
    // value has no code in the file's encoding (nothing is changed then).
    bool Set(const QString& group, const QString& key, const QString& value);

    // Text to and from the bytes of an encoding. Encode sets *ok to false
    // when some character has no code (it is then written as '?').
    static QByteArray Encode(Encoding encoding, const QString& text, bool* ok = nullptr);
    static QString Decode(Encoding encoding, const QByteArray& bytes);

private:
    // Other: blank or comment; Text: anything else without '='.
    enum class Kind { Other, Group, Key, Text };
    // One line: where its text and its terminator lie in the bytes, and for
    // a group or key line its name (for a key also the offset of its '=').
    struct Line {
        qsizetype start = 0, end = 0, next = 0;
        Kind kind = Kind::Other;
        QString name;
        qsizetype eq = -1;
    };

    void parse();
    // Index of the first group named `group`, and the line after its last.
    std::optional<std::pair<size_t, size_t>> findGroup(const QString& group) const;
    QByteArray lineEnding() const;
    // Completes line l's line ending (missing, or a lone '\r' at the end of
    // the file) without changing its text; returns where the next line starts.
    qsizetype terminate(const Line& l, const QByteArray& eol);

    QByteArray m_bytes;
    Encoding m_encoding = Encoding::Gbk;
    std::vector<Line> m_lines;
    std::vector<size_t> m_groups; // the group lines' indexes
};
