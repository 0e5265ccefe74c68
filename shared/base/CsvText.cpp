#include "shared/base/CsvText.h"

#include "shared/base/PlainText.h"

#include <QStringDecoder>

#include <algorithm>

namespace CsvText {

namespace {
bool formulaLike(const QString& s) {
    return !s.isEmpty() && QStringLiteral("=+-@\t\r").contains(s.front());
}

// The offset of the first byte that starts no valid UTF-8 sequence (a
// broken, overlong or surrogate one included); -1 when there is none.
qsizetype firstBadUtf8(const QByteArray& bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned lead = s[i];
        int length = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0)
            length = 2, least = 0x80;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, least = 0x800;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, least = 0x10000;
        else
            return i;
        if (i + length > n)
            return i;
        char32_t code = lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (s[i + k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return -1;
}

// "line N, byte M" of an offset, both counted from 1.
QString place(const QByteArray& bytes, qsizetype offset) {
    const QByteArray before = bytes.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("line %1, byte %2")
        .arg(before.count('\n') + 1)
        .arg(offset - lineStart + 1);
}
} // namespace

QString Field(const QString& value) {
    QString field = value;
    if (formulaLike(field))
        field.prepend(QLatin1Char('\''));
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString Line(const QStringList& fields) {
    QStringList out;
    out.reserve(fields.size());
    for (const QString& f : fields)
        out << Field(f);
    return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QStringList Split(const QString& line) {
    QStringList fields;
    QString current;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"')
                current += c, ++i;
            else if (c == u'"')
                quoted = false;
            else
                current += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << current;
            current.clear();
        } else {
            current += c;
        }
    }
    fields << current;
    for (QString& f : fields)
        if (f.size() > 1 && f.front() == u'\'' && formulaLike(f.mid(1)))
            f.remove(0, 1);
    return fields;
}

bool Lines(const QByteArray& bytes, QStringList* lines) {
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(data);
    if (utf8.hasError())
        return false;
    *lines = text.split(QLatin1Char('\n'));
    for (QString& l : *lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    while (!lines->isEmpty() && lines->last().isEmpty())
        lines->removeLast();
    return true;
}

bool LinesUnder(const QByteArray& bytes, const QString& header, QStringList* lines, Error* error) {
    int which = 0;
    return LinesUnder(bytes, QStringList{header}, lines, &which, error);
}

bool LinesUnder(const QByteArray& bytes, const QStringList& headers, QStringList* lines, int* which,
                Error* error) {
    QString why;
    if (const qsizetype bad = firstBadUtf8(bytes); bad >= 0) {
        why = QStringLiteral("%1: not UTF-8 text (0x%2)")
                  .arg(place(bytes, bad))
                  .arg(uchar(bytes[bad]), 2, 16, QLatin1Char('0'));
    } else if (!Lines(bytes, lines)) {
        why = QStringLiteral("the file is not UTF-8 text");
    } else {
        *which = -1;
        for (int i = 0; i < headers.size() && !lines->isEmpty(); ++i)
            if ((*lines)[0].trimmed().compare(headers[i], Qt::CaseInsensitive) == 0)
                *which = i;
        if (*which < 0)
            why = QStringLiteral("line 1: expected the header \"%1\"").arg(headers.last());
    }
    return why.isEmpty() || Error(why).Report(error);
}

QString FieldProblem(const QString& field, int maxLength) {
    if (const auto c = std::find_if(field.begin(), field.end(), PlainText::IsControl);
        c != field.end())
        return QStringLiteral("control character %1 in \"%2\"")
            .arg(PlainText::Escaped(QString(*c)), PlainText::Echo(field));
    if (field.size() > maxLength)
        return QStringLiteral("\"%1\" is longer than %2 characters")
            .arg(PlainText::Echo(field))
            .arg(maxLength);
    return QString();
}

} // namespace CsvText
