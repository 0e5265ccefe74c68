#include "tests/common/BoxLog.h"

BoxLog::~BoxLog() {
    MsgBox::ClearHandler();
}

void BoxLog::install() {
    MsgBox::SetHandler([this](const MsgBox::Shown& s) {
        shown << s;
        return MsgBox::Result::Ok;
    });
}

QString BoxLog::lines() const {
    QString out;
    for (const MsgBox::Shown& s : shown)
        out += box(s.title, s.text, s.icon);
    return out;
}

QString box(const QString& title, const QString& text, MsgBox::Icon icon) {
    static const char* const names[] = {"none", "information", "exclamation", "critical",
                                        "question"};
    return title + QLatin1Char('|') + text + QLatin1Char('|') + QLatin1String(names[int(icon)]) +
           QLatin1Char('\n');
}
