#include "tools/admin/RowSetDump.h"

#include "shared/db/DbDateTime.h"

#include <QCryptographicHash>
#include <QStringList>

namespace RowSetDump {

namespace {

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

QString padded(const QString& text, int width) {
    return text + QString(qMax(0, width - DisplayWidth(text)), QLatin1Char(' '));
}

// Control characters would break the one-line-per-row layout.
QString escaped(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            s += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            s += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            s += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            s += QStringLiteral("\\t");
        else if (c.unicode() < 0x20)
            s += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            s += c;
    }
    return s;
}

void writeLine(QTextStream& out, const QStringList& line, const QVector<int>& widths) {
    QString text = QStringLiteral("  ");
    for (int i = 0; i < line.size(); ++i) {
        if (i > 0)
            text += QStringLiteral("  ");
        text += i + 1 < line.size() ? padded(line[i], widths[i]) : line[i];
    }
    out << text << '\n';
}

void table(QTextStream& out, const QVector<QStringList>& lines) {
    QVector<int> widths;
    for (const QStringList& line : lines) {
        widths.resize(qMax(widths.size(), line.size()));
        for (int i = 0; i < line.size(); ++i)
            widths[i] = qMax(widths[i], DisplayWidth(line[i]));
    }
    for (const QStringList& line : lines)
        writeLine(out, line, widths);
}

// The value as shown in a row: cut to MaxValueWidth columns, marked "...".
QString shown(const RowSetColumn& column, const QVariant& value, bool* cut) {
    const QString text = FormatValue(column, value);
    if (column.type == RowSetColumn::Type::Binary || DisplayWidth(text) <= MaxValueWidth)
        return text;
    *cut = true;
    QString result;
    int width = 0;
    for (char32_t c : text.toUcs4()) {
        const int w = isWide(c) ? 2 : 1;
        if (width + w > MaxValueWidth - 3)
            break;
        width += w;
        result += QString::fromUcs4(&c, 1);
    }
    return result + QStringLiteral("...");
}

} // namespace

int DisplayWidth(const QString& text) {
    int width = 0;
    for (char32_t c : text.toUcs4())
        width += isWide(c) ? 2 : 1;
    return width;
}

QString FormatValue(const RowSetColumn& column, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (column.type) {
    case RowSetColumn::Type::Binary: {
        const QByteArray bytes = value.toByteArray();
        return QStringLiteral("%1 bytes sha256:%2")
            .arg(bytes.size())
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    }
    case RowSetColumn::Type::DateTime:
        if (value.canConvert<QDateTime>() && value.toDateTime().isValid())
            return DbDateTime::ToText(value.toDateTime());
        return escaped(value.toString());
    case RowSetColumn::Type::Boolean:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return escaped(value.toString());
    }
}

void Write(const RowSet& rs, QTextStream& out) {
    out << QStringLiteral("columns (%1):\n").arg(rs.columns.size());
    QVector<QStringList> columnLines;
    columnLines.append({QStringLiteral("#"), QStringLiteral("name"), QStringLiteral("type"),
                        QStringLiteral("length"), QStringLiteral("attributes")});
    for (int i = 0; i < rs.columns.size(); ++i) {
        const RowSetColumn& c = rs.columns[i];
        QStringList attributes;
        if (!c.displayName.isEmpty())
            attributes << QStringLiteral("alias of %1").arg(c.name);
        if (c.keyColumn)
            attributes << QStringLiteral("key");
        if (c.autoIncrement)
            attributes << QStringLiteral("autoincrement");
        if (c.nullable)
            attributes << QStringLiteral("nullable");
        if (c.isLong)
            attributes << QStringLiteral("long");
        if (!c.baseTable.isEmpty())
            attributes << QStringLiteral("from %1.%2").arg(c.baseTable, c.baseColumn);
        columnLines.append({QString::number(i + 1), c.realName(), RowSetColumn::TypeName(c.type),
                            QString::number(c.maxLength), attributes.join(QStringLiteral(", "))});
    }
    table(out, columnLines);

    out << QStringLiteral("rows (%1):\n").arg(rs.rows.size());
    if (rs.columns.isEmpty())
        return;
    const auto rowLine = [&rs](const RowSetRow& row, bool* cut) {
        QStringList line;
        for (int i = 0; i < rs.columns.size(); ++i)
            line << shown(rs.columns[i], i < row.values.size() ? row.values[i] : QVariant(), cut);
        return line;
    };
    // First pass: the column widths (values already cut), then the rows one by one.
    QStringList header;
    QStringList rule;
    QVector<int> widths;
    for (const RowSetColumn& c : rs.columns) {
        header << c.realName();
        rule << QString(DisplayWidth(c.realName()), QLatin1Char('-'));
        widths << DisplayWidth(c.realName());
    }
    bool cut = false;
    for (const RowSetRow& row : rs.rows) {
        const QStringList line = rowLine(row, &cut);
        for (int i = 0; i < line.size(); ++i)
            widths[i] = qMax(widths[i], DisplayWidth(line[i]));
    }
    if (cut)
        out << QStringLiteral("  (values longer than %1 columns are cut and end in \"...\")\n")
                   .arg(MaxValueWidth);
    writeLine(out, header, widths);
    writeLine(out, rule, widths);
    for (const RowSetRow& row : rs.rows)
        writeLine(out, rowLine(row, &cut), widths);
}

QString Format(const RowSet& rs) {
    QString text;
    QTextStream out(&text);
    Write(rs, out);
    out.flush();
    return text;
}

} // namespace RowSetDump
