#pragma once

#include "texts/Translation.h"

#include <QString>

class QApplication;
class QDate;
class QDateTime;
class QTime;

// Makes the programs look right in Chinese on Linux: the Windows face names
// the windows ask for ("宋体", "黑体", "楷体_GB2312", ...) resolve to the
// installed Chinese fonts, and Qt's own dialogs and buttons speak Chinese.
namespace ChineseUi {

// Loads Qt's zh_CN translations into the application; false when none was found.
bool LoadTranslations(QApplication& app);

// The language of attendance.ini or the system (Translation::Configured),
// then Setup(app, language).
void Setup(QApplication& app);
// The report fonts' substitutions (ReportFonts) and the language: in Chinese
// Qt's zh_CN translations and the Chinese locale for number and date texts;
// in English the programs' English catalogue and the English locale (Qt's
// own texts are English).
void Setup(QApplication& app, UiLanguage language);

// The general date and time text of the Chinese desktop: "2007-3-5 8:05:09".
QString GeneralDateTime(const QDateTime& t);
// Short date "2007-3-5" and short time "8:05".
QString ShortDate(const QDate& d);
QString ShortTime(const QTime& t);

} // namespace ChineseUi
