#include "report/ReportLanguage.h"

#include <QCoreApplication>
#include <QTranslator>

ReportLanguage::ReportLanguage(const QTranslator* translator, const QLocale& locale)
    : m_given(true), m_translator(translator), m_locale(locale) {}

ReportLanguage ReportLanguage::Sources() {
    return ReportLanguage(nullptr, QLocale(QLocale::Chinese, QLocale::China));
}

QString ReportLanguage::translate(const char* context, const char* source,
                                  const char* disambiguation) const {
    if (!m_given)
        return QCoreApplication::translate(context, source, disambiguation);
    if (m_translator) {
        const QString text = m_translator->translate(context, source, disambiguation);
        if (!text.isEmpty())
            return text;
    }
    return QString::fromUtf8(source);
}

QLocale ReportLanguage::locale() const {
    return m_given ? m_locale : QLocale();
}
