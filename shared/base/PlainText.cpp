#include "shared/base/PlainText.h"

#include <algorithm>

namespace PlainText {

bool IsControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

bool HasControl(const QString& text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

QString Escaped(const QString& text) {
    if (!HasControl(text) && !text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (IsControl(c))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString Echo(const QString& text, int max) {
    // Only the part that can be shown is escaped: a field may be megabytes.
    QString shown = Escaped(text.left(max + 1));
    if (shown.size() <= max && text.size() <= max)
        return shown;
    shown.truncate(std::max(0, max - 3));
    return shown + QLatin1String("...");
}

} // namespace PlainText
