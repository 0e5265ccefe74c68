// attendance-admin web-password: the viewer password of the web pages from
// a file or asked twice on a real terminal, stored only as its salted hash.
#include "shared/config/ViewerPassword.h"
#include "tests/common/TestProgramDir.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QtTest>

class tst_webpassword : public QObject {
    Q_OBJECT

    TestProgramDir m_dir;

    QString stored() const { return m_dir.ini(QStringLiteral("WEB"), QStringLiteral("PASSWORD")); }

    // The command on a terminal of its own (script(1) makes one), the lines
    // of `typed` given one by one once it asks.
    ToolRun onTerminal(const QStringList& typed) {
        QString feed = QStringLiteral("sleep 1");
        for (const QString& line : typed)
            feed += QStringLiteral("; printf '%s\\n' '%1'; sleep 0.5").arg(line);
        const QString command = QStringLiteral("(%1) | script -qec \"'%2' web-password --dir '%3' "
                                               "--password -\" /dev/null")
                                    .arg(feed, AdminTool::Path(), m_dir.path());
        return RunTool(QStringLiteral("sh"), {QStringLiteral("-c"), command}, 30000);
    }

private slots:
    void initTestCase() { QVERIFY2(m_dir.init(), qPrintable(m_dir.lastError)); }

    void fromAFile() {
        const QString file =
            m_dir.writeFile(QStringLiteral("pw"), "ein-langes-passwort\r\nzweite Zeile\n");
        QVERIFY(AdminTool::Runs({"web-password", "--dir", m_dir.path(), "--password-file", file}));
        const QString first = stored();
        QVERIFY(first.startsWith(QLatin1String("pbkdf2-sha256:")) &&
                !first.contains(QLatin1String("ein-langes")));
        QVERIFY(ViewerPassword::Matches(QStringLiteral("ein-langes-passwort"), first));
        // Set again: a new salt, so a new stored form.
        QVERIFY(AdminTool::Runs({"web-password", "--dir", m_dir.path(), "--password-file", file}));
        QVERIFY(stored() != first &&
                ViewerPassword::Matches(QStringLiteral("ein-langes-passwort"), stored()));
    }

    void refusedWithoutChange() {
        const QString before = stored();
        // Seven characters are too few, eight are enough (below).
        const QString shortFile = m_dir.writeFile(QStringLiteral("short"), "1234567\n");
        QVERIFY(
            AdminTool::Fails({"web-password", "--dir", m_dir.path(), "--password-file", shortFile},
                             {"at least 8 characters"}));
        QVERIFY(AdminTool::Fails({"web-password", "--dir", m_dir.path(), "--password-file",
                                  m_dir.file(QStringLiteral("absent"))},
                                 {"cannot read the password file"}));
        // Never on the command line itself, where every user sees it.
        QVERIFY(
            AdminTool::Misuses({"web-password", "--dir", m_dir.path(), "--password", "visible-pw"},
                               {"--password-file"}));
        QVERIFY(AdminTool::Misuses({"web-password", "--dir", m_dir.path()}));
        // "-" asks on a terminal only.
        QVERIFY(AdminTool::Fails({"web-password", "--dir", m_dir.path(), "--password", "-"},
                                 {"not one"}));
        QCOMPARE(stored(), before);
        const QString eight = m_dir.writeFile(QStringLiteral("eight"), "12345678\n");
        QVERIFY(AdminTool::Runs({"web-password", "--dir", m_dir.path(), "--password-file", eight}));
        QVERIFY(ViewerPassword::Matches(QStringLiteral("12345678"), stored()));
    }

    void askedTwiceWithoutEcho() {
        if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
            QSKIP("script(1) is missing");
        ToolRun run =
            onTerminal({QStringLiteral("am-terminal-pw"), QStringLiteral("am-terminal-pw")});
        QVERIFY2(run.code == 0, run.out.constData());
        QVERIFY(ViewerPassword::Matches(QStringLiteral("am-terminal-pw"), stored()));
        QVERIFY2(!run.out.contains("am-terminal-pw"), run.out.constData());
        // Two different answers change nothing.
        const QString before = stored();
        run = onTerminal({QStringLiteral("first-answer"), QStringLiteral("other-answer")});
        QVERIFY(run.code != 0 && run.out.contains("the two passwords differ"));
        QCOMPARE(stored(), before);
    }
};

QTEST_MAIN(tst_webpassword)
#include "tst_webpassword.moc"
