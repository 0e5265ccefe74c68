#include "shared/base/CsvText.h"

#include <QStringDecoder>

namespace CsvText {

namespace {
bool formulaLike(const QString& s) {
    return !s.isEmpty() && QStringLiteral("=+-@\t\r").contains(s.front());
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

bool LinesUnder(const QByteArray& bytes, const QString& header, QStringList* lines,
                QString* error) {
    QString why;
    if (!Lines(bytes, lines))
        why = QStringLiteral("the file is not UTF-8 text");
    else if (lines->isEmpty() || (*lines)[0].trimmed().compare(header, Qt::CaseInsensitive) != 0)
        why = QStringLiteral("line 1: expected the header \"%1\"").arg(header);
    if (error && !why.isEmpty())
        *error = why;
    return why.isEmpty();
}

} // namespace CsvText
