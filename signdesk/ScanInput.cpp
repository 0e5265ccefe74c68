#include "signdesk/ScanInput.h"

#include <QKeySequence>

#include <array>
#include <utility>

namespace {

// The names of the C0 control characters, by code.
constexpr std::array<const char*, 32> kControlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

} // namespace

QStringList ScanInput::Feed(int key, const QString& text, qint64 ms) {
    // Enter, keypad Enter and Tab carry "\r" or "\t" as text: one barcode.
    if (IsTerminatorKey(key))
        return {Complete()};
    QStringList done;
    for (const QChar c : text) {
        if (IsTerminator(c))
            done.append(Complete());
        else if (IsKept(c))
            Append(c, ms);
    }
    return done;
}

void ScanInput::Clear() {
    m_text.clear();
    m_lastKey.reset();
}

bool ScanInput::IsTerminatorKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
}

bool ScanInput::IsTerminator(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t');
}

bool ScanInput::IsKept(QChar c) {
    return c.isPrint();
}

QString ScanInput::Visible(const QString& text) {
    QString shown;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < kControlNames.size())
            shown += QLatin1Char('<') + QLatin1String(kControlNames[u]) + QLatin1Char('>');
        else if (u == 0x7F)
            shown += QStringLiteral("<DEL>");
        else if (u == u' ')
            shown += QStringLiteral("<SP>");
        else if (!c.isPrint())
            shown += QStringLiteral("<U+%1>").arg(int(u), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

QString ScanInput::KeyName(int key) {
    const QString name = key > 0 && key != Qt::Key_unknown
                             ? QKeySequence(key).toString(QKeySequence::PortableText)
                             : QString();
    const QString code = QStringLiteral("0x%1").arg(key, 2, 16, QLatin1Char('0'));
    return name.isEmpty() || !name.at(0).isPrint() ? code : name + QLatin1Char(' ') + code;
}

void ScanInput::Append(QChar c, qint64 ms) {
    if (m_lastKey && ms - *m_lastKey >= KeyPauseMs)
        m_text.clear();
    m_text.append(c);
    m_lastKey = ms;
}

QString ScanInput::Complete() {
    return std::exchange(m_text, QString()).trimmed();
}
