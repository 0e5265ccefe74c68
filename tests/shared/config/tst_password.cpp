#include "shared/config/PasswordModule.h"
#include "tests/common/TestProgramDir.h"

#include <QtTest>

#include <memory>

class TestPassword : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
    }
    void cleanup() { fx.reset(); }

    // Stored digit forms depend on these values; they must never change.
    void digitFormIsFixed_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("digits");
        QTest::newRow("digits") << QStringLiteral("123456") << QStringLiteral("745018");
        QTest::newRow("letters") << QStringLiteral("admin") << QStringLiteral("92512");
        QTest::newRow("blank and sign")
            << QStringLiteral("Pass word!") << QStringLiteral("0911253023");
        // Double-byte characters give digits from "'" to "0".
        QTest::newRow("chinese") << QStringLiteral("中文") << QStringLiteral(",.");
        QTest::newRow("rare and punctuation")
            << QStringLiteral("考勤龘齉，。！") << QStringLiteral("0,))./)");
        QTest::newRow("mixed") << QStringLiteral("密码123") << QStringLiteral(".+745");
        QTest::newRow("euro, one byte 0x80") << QStringLiteral("€") << QStringLiteral("8");
        // Without a GBK code a character counts as '?'; an emoji is two UTF-16 units.
        QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80") << QStringLiteral("11");
        QTest::newRow("thai") << QString(QChar(0x0E01)) << QStringLiteral("1");
        QTest::newRow("empty") << QString() << QString();
    }
    void digitFormIsFixed() {
        QFETCH(QString, password);
        QFETCH(QString, digits);
        QCOMPARE(EncodePassword(password), digits);
    }

    void savedPasswordLogsIn() {
        QVERIFY(GetStoredPassword().isEmpty()); // none stored: nothing logs in
        for (const char* p : {"123456", "中", " "})
            QVERIFY(!CheckPassword(p));
        QVERIFY(SavePassword("abc123"));
        QVERIFY(CheckPassword("abc123"));
        for (const char* wrong :
             {"abc12", "abc1234", " abc123", ""}) // the dialog trims, not the check
            QVERIFY2(!CheckPassword(QLatin1String(wrong)), wrong);
        // Characters with the same digit are interchangeable ('/' and '1').
        QVERIFY(CheckPassword("abc/23"));
        // An empty password is stored as an empty digit form: no entry matches it.
        QVERIFY(SavePassword(QString()));
        QVERIFY(GetStoredPassword().isEmpty());
        QVERIFY(!CheckPassword("abc123"));
    }

    void chinesePasswordRoundTrip() {
        // A digit form enclosed in apostrophes must survive the quote rule of
        // the configuration file.
        QChar apostrophe;
        for (char16_t u = 0x4E00; u < 0x9FA5 && apostrophe.isNull(); ++u)
            if (EncodePassword(QString(QChar(u))) == QLatin1String("'"))
                apostrophe = QChar(u);
        QVERIFY(!apostrophe.isNull());
        const QString p = QString(apostrophe) + QStringLiteral("中") + apostrophe;
        QVERIFY(SavePassword(p));
        QCOMPARE(GetStoredPassword(), EncodePassword(p));
        QVERIFY(CheckPassword(p));
        QVERIFY(!CheckPassword("中"));
    }
};

QTEST_GUILESS_MAIN(TestPassword)
#include "tst_password.moc"
