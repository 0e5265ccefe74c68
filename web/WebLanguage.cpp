#include "web/WebLanguage.h"

namespace {

// The q-value of a language range's parameters; 1 without one, -1 when the
// range is malformed (then it is ignored).
double quality(const QList<QByteArray>& parameters) {
    double q = 1;
    for (const QByteArray& p : parameters) {
        const QByteArray parameter = p.trimmed().toLower();
        if (!parameter.startsWith("q="))
            continue;
        bool ok = false;
        q = parameter.mid(2).toDouble(&ok);
        if (!ok || q < 0 || q > 1)
            return -1;
    }
    return q;
}

struct Match {
    double q = 0;       // 0: not acceptable (or not named)
    int position = -1;  // the range's place in the header
    bool exact = false; // named by its tag rather than by "*"
};

// Takes the range for `language` when it says more than what was found so
// far: a named range over "*", else the first.
void take(Match& m, double q, int position, bool exact) {
    if (m.position >= 0 && (m.exact || !exact))
        return;
    m = {q, position, exact};
}

} // namespace

WebLanguage::WebLanguage()
    : m_chinese(Translation::Of(UiLanguage::Chinese)),
      m_english(Translation::Of(UiLanguage::English)) {}

UiLanguage WebLanguage::Preferred(const QByteArray& acceptLanguage) {
    Match english, chinese;
    const QList<QByteArray> ranges = acceptLanguage.split(',');
    for (int i = 0; i < ranges.size(); ++i) {
        QList<QByteArray> parts = ranges[i].split(';');
        const QByteArray tag = parts.takeFirst().trimmed().toLower();
        const double q = quality(parts);
        if (tag.isEmpty() || q < 0)
            continue;
        if (tag == "*") {
            take(english, q, i, false);
            take(chinese, q, i, false);
        } else if (tag == "en" || tag.startsWith("en-")) {
            take(english, q, i, true);
        } else if (tag == "zh" || tag.startsWith("zh-")) {
            take(chinese, q, i, true);
        }
    }
    const bool preferEnglish = english.q > chinese.q || (english.q > 0 && english.q == chinese.q &&
                                                         english.position < chinese.position);
    return preferEnglish ? UiLanguage::English : UiLanguage::Chinese;
}

const Translation& WebLanguage::Texts(UiLanguage language) const {
    return language == UiLanguage::English ? m_english : m_chinese;
}
