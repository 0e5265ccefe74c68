#include "texts/Translation.h"

#include "shared/config/clsConfiguration.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace {

const char* const CatalogueName = "attendance_en";
const char* const CatalogueFolder = ":/i18n";
// The catalogue's own name of its language: the application's translators
// give "en" for it when the English catalogue is installed.
const char* const LanguageMarker = QT_TRANSLATE_NOOP("Translation", "zh_CN");

} // namespace

Translation Translation::Current() {
    Translation t;
    t.m_current = true;
    return t;
}

Translation Translation::Of(UiLanguage language) {
    Translation t;
    t.m_current = false;
    t.m_language = language;
    if (language != UiLanguage::Chinese) {
        auto translator = std::make_shared<QTranslator>();
        if (Load(language, translator.get()))
            t.m_translator = std::move(translator);
    }
    return t;
}

QString Translation::Text(const char* context, const char* source, const char* disambiguation,
                          int n) const {
    if (m_current)
        return QCoreApplication::translate(context, source, disambiguation, n);
    if (m_translator) {
        const QString text = m_translator->translate(context, source, disambiguation, n);
        if (!text.isNull())
            return text;
    }
    QString text = QString::fromUtf8(source);
    if (n >= 0)
        text.replace(QLatin1String("%n"), QString::number(n));
    return text;
}

UiLanguage Translation::Language() const {
    if (!m_current)
        return m_language;
    UiLanguage language = UiLanguage::Chinese;
    Parse(QCoreApplication::translate("Translation", LanguageMarker), &language);
    return language;
}

UiLanguage Translation::Choose(const QString& configured, const QString& systemLocale) {
    UiLanguage language = UiLanguage::Chinese;
    if (Parse(configured, &language))
        return language;
    return systemLocale.startsWith(QLatin1String("en"), Qt::CaseInsensitive) ? UiLanguage::English
                                                                             : UiLanguage::Chinese;
}

UiLanguage Translation::Configured() {
    clsConfiguration config;
    config.setFileName(clsConfiguration::DefaultFileName());
    config.setGroup(QStringLiteral("OTHER"));
    return Choose(config.GetItem(QStringLiteral("LANGUAGE")), QLocale::system().name());
}

bool Translation::Parse(const QString& name, UiLanguage* out) {
    const QString n = name.trimmed().toLower().replace(QLatin1Char('-'), QLatin1Char('_'));
    if (n == QLatin1String("zh") || n.startsWith(QLatin1String("zh_"))) {
        *out = UiLanguage::Chinese;
        return true;
    }
    if (n == QLatin1String("en") || n.startsWith(QLatin1String("en_"))) {
        *out = UiLanguage::English;
        return true;
    }
    return false;
}

QString Translation::Name(UiLanguage language) {
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("zh_CN");
}

bool Translation::Load(UiLanguage language, QTranslator* translator) {
    if (language != UiLanguage::English)
        return false;
    return translator->load(QString::fromLatin1(CatalogueName),
                            QString::fromLatin1(CatalogueFolder));
}

bool Translation::Install(UiLanguage language) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (language == UiLanguage::Chinese)
        return true;
    auto* translator = new QTranslator(app); // lives as long as the application
    if (!Load(language, translator)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
