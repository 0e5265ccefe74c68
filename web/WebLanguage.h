#pragma once

#include "texts/Translation.h"

#include <QByteArray>
#include <QList>

// The languages of the pages, chosen for each request by the browser's
// Accept-Language: English or Chinese, the source texts. The server answers
// requests in either at once, so each page is made with its language's own
// catalogue, never the one installed in the application.
class WebLanguage {
public:
    // Loads the English catalogue built into the program.
    WebLanguage();

    // The language of the range the header prefers (its q-values honoured;
    // between ranges of equal q the first listed): "en" or "en-..." English,
    // "zh" or "zh-..." Chinese, "*" either; Chinese when it names neither,
    // refuses both or is missing.
    static UiLanguage Preferred(const QByteArray& acceptLanguage);

    // The texts of a language, for this thread or any other.
    const Translation& Texts(UiLanguage language) const;

private:
    Translation m_chinese, m_english;
};
