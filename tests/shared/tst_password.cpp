#include "PasswordModule.h"
#include "ProgramDirectory.h"
#include "clsConfiguration.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString StoredAlp() {
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(QStringLiteral("OTHER"));
    return cfg.GetItem(QStringLiteral("ALP"));
}

bool InDoubleByteRange(const QString& digits) {
    for (const QChar c : digits)
        if (c.unicode() < '\'' || c.unicode() > '0')
            return false;
    return true;
}

} // namespace

class TestPassword : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        SetProgramDirectory(m_dir->path());
    }
    void cleanup() {
        SetProgramDirectory(QString());
        m_dir.reset();
    }

    // Stored digit forms depend on these values; they must never change.
    void digitFormIsFixed_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("digits");
        QTest::newRow("digits") << QStringLiteral("123456") << QStringLiteral("745018");
        QTest::newRow("letters") << QStringLiteral("admin") << QStringLiteral("92512");
        QTest::newRow("blank and sign")
            << QStringLiteral("Pass word!") << QStringLiteral("0911253023");
        QTest::newRow("chinese") << QStringLiteral("中文") << QStringLiteral(",.");
        QTest::newRow("mixed") << QStringLiteral("密码123") << QStringLiteral(".+745");
        QTest::newRow("euro, one byte 0x80") << QStringLiteral("€") << QStringLiteral("8");
        QTest::newRow("empty") << QString() << QString();
    }
    void digitFormIsFixed() {
        QFETCH(QString, password);
        QFETCH(QString, digits);
        QCOMPARE(EncodePassword(password), digits);
    }

    void chineseCharactersGiveApostropheToZero() {
        for (const QString& p : {QStringLiteral("考勤管理"), QStringLiteral("签到卡设置"),
                                 QStringLiteral("龘齉"), QStringLiteral("，。！")}) {
            const QString d = EncodePassword(p);
            QCOMPARE(d.size(), p.size());
            QVERIFY2(InDoubleByteRange(d), qPrintable(p + QLatin1String(" -> ") + d));
        }
        const QString ascii = EncodePassword(QStringLiteral("azAZ09 ~"));
        for (const QChar c : ascii)
            QVERIFY(c.isDigit());
    }

    void charactersWithoutGbkCodeCountAsQuestionMark() {
        // An emoji is two UTF-16 units without a GBK code: each reads as '?'.
        QCOMPARE(EncodePassword(QString::fromUtf8("\xF0\x9F\x98\x80")),
                 EncodePassword(QStringLiteral("??")));
        QCOMPARE(EncodePassword(QString(QChar(0x0E01))), EncodePassword(QStringLiteral("?")));
    }

    void savedPasswordLogsIn() {
        QVERIFY(SavePassword(QStringLiteral("abc123")));
        QCOMPARE(StoredAlp(), EncodePassword(QStringLiteral("abc123")));
        QCOMPARE(GetStoredPassword(), StoredAlp());
        QVERIFY(CheckPassword(QStringLiteral("abc123")));
        QVERIFY(!CheckPassword(QStringLiteral("abc12")));
        QVERIFY(!CheckPassword(QStringLiteral("abc1234")));
        QVERIFY(!CheckPassword(QStringLiteral(" abc123"))); // the dialog trims, not the check
        QVERIFY(!CheckPassword(QString()));
        // Characters with the same digit are interchangeable ('/' and '1').
        QVERIFY(CheckPassword(QStringLiteral("abc/23")));
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
        QVERIFY(EncodePassword(p).startsWith(QLatin1Char('\'')));
        QVERIFY(EncodePassword(p).endsWith(QLatin1Char('\'')));
        QVERIFY(SavePassword(p));
        QCOMPARE(GetStoredPassword(), EncodePassword(p));
        QVERIFY(CheckPassword(p));
        QVERIFY(!CheckPassword(QStringLiteral("中")));
    }

    void noStoredPasswordNeverLogsIn() {
        QVERIFY(GetStoredPassword().isEmpty());
        for (const QString& p : {QStringLiteral("a"), QStringLiteral("123456"),
                                 QStringLiteral("中"), QStringLiteral(" ")})
            QVERIFY(!CheckPassword(p));
        // An empty password is stored as an empty digit form: still no
        // non-empty entry matches it.
        QVERIFY(SavePassword(QStringLiteral("x")));
        QVERIFY(SavePassword(QString()));
        QVERIFY(QFile::exists(clsConfiguration::DefaultFileName()));
        QVERIFY(GetStoredPassword().isEmpty());
        QVERIFY(!CheckPassword(QStringLiteral("x")));
    }

    void failedSaveIsReported() {
        QVERIFY(SavePassword(QStringLiteral("old")));
        const QString notDir = m_dir->filePath(QStringLiteral("plain"));
        QFile f(notDir);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        SetProgramDirectory(notDir);
        QVERIFY(!SavePassword(QStringLiteral("new")));
        SetProgramDirectory(m_dir->path());
        QVERIFY(CheckPassword(QStringLiteral("old")));
        QVERIFY(!CheckPassword(QStringLiteral("new")));
    }
};

QTEST_GUILESS_MAIN(TestPassword)
#include "tst_password.moc"
