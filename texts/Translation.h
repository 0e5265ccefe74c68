#pragma once

#include <QString>

#include <memory>

class QTranslator;

// The languages of the user interface: the source texts are Chinese, the
// built-in catalogue (translations/attendance_en.ts) gives the English.
enum class UiLanguage { Chinese, English };

// Where the texts of a result come from: the application's installed
// translators (Current, the windows and the command line), or one language
// named explicitly (the web pages, which choose per request). Copies share
// the catalogue; an explicit one may be used from any thread.
class Translation {
public:
    static Translation Current();
    static Translation Of(UiLanguage language);

    // The text of `source` (UTF-8, as marked with QT_TRANSLATE_NOOP) in
    // `context`; the source text itself where the catalogue has none.
    QString Text(const char* context, const char* source, const char* disambiguation = nullptr,
                 int n = -1) const;
    // The language the texts come in (Current: that of the installed catalogue).
    UiLanguage Language() const;

    // The language of the programs: `configured` ([OTHER] LANGUAGE: "zh_CN",
    // "en", ...) when it names one, else English for a system locale "en*",
    // else Chinese.
    static UiLanguage Choose(const QString& configured, const QString& systemLocale);
    // Choose() with attendance.ini's [OTHER] LANGUAGE and the system's locale.
    static UiLanguage Configured();
    // "zh_CN", "zh", "zh-CN", "en", "en_US", ... (case ignored); false for anything else.
    static bool Parse(const QString& name, UiLanguage* out);
    // "zh_CN" or "en".
    static QString Name(UiLanguage language);

    // Loads the programs' catalogue of `language` into `translator`; false
    // for Chinese (the source texts need none) or a missing catalogue.
    static bool Load(UiLanguage language, QTranslator* translator);
    // Installs the catalogue of `language` into the application (the
    // translator parented to it); Current() then gives that language.
    static bool Install(UiLanguage language);

private:
    std::shared_ptr<const QTranslator> m_translator; // null: Chinese, or Current
    bool m_current = true;
    UiLanguage m_language = UiLanguage::Chinese;
};
