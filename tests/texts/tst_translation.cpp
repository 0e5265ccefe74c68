#include "shared/config/clsConfiguration.h"
#include "tests/common/TestProgramDir.h"
#include "texts/CalendarKindText.h"
#include "texts/DayVerdictText.h"
#include "texts/StationProblemText.h"
#include "texts/Translation.h"

#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <thread>

namespace {

DayVerdict working(int late, int early, bool missing) {
    DayVerdict v;
    v.kind = DayKind::Working;
    v.present = true;
    v.late = late > 0;
    v.lateMinutes = late;
    v.early = early > 0;
    v.earlyMinutes = early;
    v.missingDeparture = missing;
    return v;
}

} // namespace

class tst_translation : public QObject {
    Q_OBJECT
private slots:
    void choice_data() {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("system");
        QTest::addColumn<bool>("english");
        // The configuration decides whatever the system says.
        QTest::newRow("zh_CN on English") << QString("zh_CN") << QString("en_US") << false;
        QTest::newRow("zh on English") << QString("zh") << QString("en_GB") << false;
        QTest::newRow("en on Chinese") << QString("en") << QString("zh_CN") << true;
        QTest::newRow("EN-us, blanks") << QString(" EN-us ") << QString("zh_CN") << true;
        // Nothing usable configured: the system's locale, English only for en*.
        QTest::newRow("none, en_US") << QString() << QString("en_US") << true;
        QTest::newRow("none, en") << QString() << QString("en") << true;
        QTest::newRow("none, zh_TW") << QString() << QString("zh_TW") << false;
        QTest::newRow("none, de_DE") << QString() << QString("de_DE") << false;
        QTest::newRow("none, C") << QString() << QString("C") << false;
        QTest::newRow("fr, en_US") << QString("fr") << QString("en_US") << true;
        QTest::newRow("english (a word), zh_CN") << QString("english") << QString("zh_CN") << false;
        QTest::newRow("eng, de_DE") << QString("eng") << QString("de_DE") << false;
    }
    void choice() {
        QFETCH(QString, configured);
        QFETCH(QString, system);
        QFETCH(bool, english);
        QCOMPARE(Translation::Choose(configured, system) == UiLanguage::English, english);
    }

    // [OTHER] LANGUAGE of attendance.ini, written as the operator would.
    void configuredFromTheFile() {
        QTemporaryDir dir;
        Error error;
        QVERIFY2(PrepareProgramDir(dir.path(), "单位", false, &error), qPrintable(error.Text()));
        clsConfiguration ini;
        ini.setFileName(clsConfiguration::DefaultFileName());
        ini.setGroup("OTHER");
        QVERIFY(ini.SetItem("LANGUAGE", "en"));
        QCOMPARE(Translation::Configured(), UiLanguage::English);
        QVERIFY(ini.SetItem("LANGUAGE", "zh_CN"));
        QCOMPARE(Translation::Configured(), UiLanguage::Chinese);
    }

    // Chinese is the source text, byte for byte; English comes from the
    // built-in catalogue, the joint included.
    void verdictsInBothLanguages() {
        const Translation zh = Translation::Of(UiLanguage::Chinese);
        const Translation en = Translation::Of(UiLanguage::English);
        const DayVerdict all = working(5, 12, true);
        QCOMPARE(DayVerdictText(all, zh), QStringLiteral("迟到5分钟、早退12分钟、未签退"));
        QCOMPARE(DayVerdictText(all, en),
                 QStringLiteral("Late 5 min, Left 12 min early, No sign-out"));
        QCOMPARE(DayVerdictText(working(0, 0, false), en), QStringLiteral("Normal"));
        DayVerdict holiday;
        holiday.kind = DayKind::Holiday;
        holiday.missingDeparture = true;
        QCOMPARE(DayVerdictText(holiday, en), QStringLiteral("Holiday, No sign-out"));
        QCOMPARE(DayVerdictText(DayVerdict(), en), QString());
        QCOMPARE(DayMarkText(DayMark::Added, zh), QStringLiteral("补"));
        QCOMPARE(DayMarkText(DayMark::Changed, en), QStringLiteral("Changed"));
        QCOMPARE(DayMarkText(DayMark::None, en), QString());
        QCOMPARE(CalendarKindText(CalendarKind::Workday, zh), QStringLiteral("调休上班"));
        QCOMPARE(CalendarKindText(CalendarKind::Workday, en), QStringLiteral("Make-up workday"));
    }

    // The station's file problems: the kept name or the folder in both
    // languages, the journal's hint naming the command in both.
    void stationProblems() {
        const Translation en = Translation::Of(UiLanguage::English);
        using P = StationFileProblem;
        const P kept{P::File::Journal, P::Kind::KeptAside, "/d/j.db", "/d/j.db.bad"};
        QCOMPARE(StationProblemText(kept),
                 QStringLiteral("离线记录无法使用，已保留为 /d/j.db.bad，并已新建；其中的扫描可用 "
                                "attendance-admin replay-journal 补录到数据库"));
        const QString english = StationProblemText(kept, en);
        QVERIFY2(english.startsWith("The offline journal") && english.contains("/d/j.db.bad") &&
                     english.contains("replay-journal"),
                 qPrintable(english));
        const P folder{P::File::Copy, P::Kind::FolderUnusable, "/ro", QString()};
        QCOMPARE(StationProblemText(folder),
                 QStringLiteral("离线模式未开启：文件夹 /ro 无法保存离线副本（只读或不存在）"));
        QCOMPARE(StationProblemTexts({kept, folder}, en).size(), 2);
        QVERIFY(StationProblemText(folder, en).contains("folder /ro"));
    }

    // The application's language follows the installed catalogue; a language
    // named explicitly ignores it, on any thread.
    void currentAndExplicit() {
        const DayVerdict late = working(3, 0, false);
        QCOMPARE(Translation::Current().Language(), UiLanguage::Chinese);
        QCOMPARE(DayVerdictText(late), QStringLiteral("迟到3分钟"));
        QTranslator english;
        QVERIFY(Translation::Load(UiLanguage::English, &english));
        QVERIFY(!Translation::Load(UiLanguage::Chinese, &english));
        QVERIFY(QCoreApplication::installTranslator(&english));
        QCOMPARE(Translation::Current().Language(), UiLanguage::English);
        QCOMPARE(DayVerdictText(late), QStringLiteral("Late 3 min"));
        QCOMPARE(DayVerdictText(late, Translation::Of(UiLanguage::Chinese)),
                 QStringLiteral("迟到3分钟"));
        QString zh, en;
        std::thread reader([&] {
            zh = DayVerdictText(late, Translation::Of(UiLanguage::Chinese));
            en = DayVerdictText(late, Translation::Of(UiLanguage::English));
        });
        reader.join();
        QCOMPARE(zh, QStringLiteral("迟到3分钟"));
        QCOMPARE(en, QStringLiteral("Late 3 min"));
        QCoreApplication::removeTranslator(&english);
        QCOMPARE(DayVerdictText(late), QStringLiteral("迟到3分钟"));
    }
};

QTEST_GUILESS_MAIN(tst_translation)
#include "tst_translation.moc"
