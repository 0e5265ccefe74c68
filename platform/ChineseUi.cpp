#include "platform/ChineseUi.h"

#include "report/ReportFonts.h"

#include <QApplication>
#include <QDateTime>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <utility>

namespace {

// The type texts of files and folders in Qt's own file dialog. Qt 6 asks for
// them in a context the packaged catalogs do not hold yet, so the dialog
// would show "Folder" among Chinese texts.
class FileTypeTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const std::pair<const char*, const char*> texts[] = {
            {"Folder", "文件夹"}, {"Drive", "驱动器"}, {"Shortcut", "快捷方式"}, {"Alias", "替身"}};
        for (const auto& [english, chinese] : texts)
            if (qstrcmp(source, english) == 0)
                return QString::fromUtf8(chinese);
        return QString();
    }
};

} // namespace

namespace ChineseUi {

bool LoadTranslations(QApplication& app) {
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool loaded = false;
    for (const char* catalog : {"qtbase_zh_CN", "qtmultimedia_zh_CN"}) {
        // Parented to the application: the translators live as long as it does.
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(catalog), dir)) {
            app.installTranslator(translator);
            loaded = true;
        } else {
            delete translator;
        }
    }
    if (loaded)
        app.installTranslator(new FileTypeTexts(&app)); // parented as the others
    return loaded;
}

void Setup(QApplication& app) {
    Setup(app, Translation::Configured());
}

void Setup(QApplication& app, UiLanguage language) {
    ReportFonts::InstallSubstitutions();
    if (language == UiLanguage::English && Translation::Install(UiLanguage::English)) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return;
    }
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    LoadTranslations(app);
}

QString GeneralDateTime(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-M-d H:mm:ss"));
}

QString ShortDate(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-M-d"));
}

QString ShortTime(const QTime& t) {
    return t.toString(QStringLiteral("H:mm"));
}

} // namespace ChineseUi
