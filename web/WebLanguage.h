#pragma once

#include "report/ReportLanguage.h"

#include <QByteArray>
#include <QTranslator>

// The languages of the pages, chosen for each request by the browser's
// Accept-Language: English or Chinese, the source texts. The server answers
// requests in either at once, so each page is made with the language's own
// translator, never the one installed in the application.
class WebLanguage {
public:
    enum class Choice { Chinese, English };

    // Loads the English translations built into the program.
    WebLanguage();

    // The language of the range the header prefers (its q-values honoured;
    // between ranges of equal q the first listed): "en" or "en-..." English,
    // "zh" or "zh-..." Chinese, "*" either; Chinese when it names neither,
    // refuses both or is missing.
    static Choice Preferred(const QByteArray& acceptLanguage);

    // The texts and locale of a language (valid while this object lives).
    ReportLanguage Texts(Choice choice) const;

private:
    QTranslator m_english;
};
