#include "platform/ChineseUi.h"

#include "report/ReportFonts.h"

#include <QApplication>
#include <QDateTime>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    return loaded;
}

void Setup(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    ReportFonts::InstallSubstitutions();
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
