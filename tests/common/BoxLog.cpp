#include "tests/common/BoxLog.h"

BoxLog::BoxLog()
    : m_seam([this](const MsgBox::Shown& s) {
          shown << s;
          if (s.buttons == MsgBox::Buttons::Ok)
              return MsgBox::Result::Ok;
          return m_answers.isEmpty() ? MsgBox::Result::No : m_answers.takeFirst();
      }) {}

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
