#pragma once

#include <QLocale>
#include <QString>

class QTranslator;

// The language of a report's fixed texts (and of pages made beside one): by
// default the program's, through the translators installed in the
// application; or a given one, for a server answering each request in the
// language it asks for while other requests are answered in another.
class ReportLanguage {
public:
    // The program's language: QCoreApplication's translators, the default locale.
    ReportLanguage() = default;
    // A given language: `translator` (null: the source texts, Chinese) and the
    // locale of its dates and names.
    ReportLanguage(const QTranslator* translator, const QLocale& locale);
    // The source texts (Chinese) whatever the program's language: the column
    // names of files that other programs read.
    static ReportLanguage Sources();

    // `source` of `context` in this language; the source text where there is
    // no translation. (Named like QCoreApplication's, so lupdate finds the calls.)
    QString translate(const char* context, const char* source,
                      const char* disambiguation = nullptr) const;
    QLocale locale() const;

private:
    bool m_given = false;
    const QTranslator* m_translator = nullptr;
    QLocale m_locale;
};
