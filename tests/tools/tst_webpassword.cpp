// attendance-admin web-password: the viewer password of the web pages from
// a file or asked twice on a real terminal, stored only as its salted hash.
#include "shared/config/ViewerPassword.h"
#include "tests/common/TestProgramDir.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QtTest>

class tst_webpassword : public QObject {
    Q_OBJECT

    TestProgramDir m_dir;

    QString stored() const { return m_dir.ini("WEB", "PASSWORD"); }
    // web-password on the test's program directory with `args`.
    QStringList set(const QStringList& args) const {
        return QStringList{"web-password", "--dir", m_dir.path()} + args;
    }

    // The command on a terminal of its own (script(1) makes one), the lines
    // of `typed` given one by one once it asks.
    ToolRun onTerminal(const QStringList& typed) {
        QString feed = QStringLiteral("sleep 1");
        for (const QString& line : typed)
            feed += QStringLiteral("; printf '%s\\n' '%1'; sleep 0.5").arg(line);
        const QString command = QStringLiteral("(%1) | script -qec \"'%2' web-password --dir '%3' "
                                               "--password -\" /dev/null")
                                    .arg(feed, AdminTool::Path(), m_dir.path());
        return RunTool("sh", {QStringLiteral("-c"), command}, 30000);
    }

private slots:
    void initTestCase() { QVERIFY2(m_dir.init(), qPrintable(m_dir.lastError)); }

    void fromAFile() {
        const QString file = m_dir.writeFile("pw", "ein-langes-passwort\r\nzweite Zeile\n");
        QVERIFY(AdminTool::Runs(set({"--password-file", file})));
        const QString first = stored();
        QVERIFY(first.startsWith("pbkdf2-sha256:") && !first.contains("ein-langes"));
        QVERIFY(ViewerPassword::Matches(QStringLiteral("ein-langes-passwort"), first));
        // Set again: a new salt, so a new stored form.
        QVERIFY(AdminTool::Runs(set({"--password-file", file})));
        QVERIFY(stored() != first &&
                ViewerPassword::Matches(QStringLiteral("ein-langes-passwort"), stored()));
    }

    void refusedWithoutChange() {
        const QString before = stored();
        // Seven characters are too few, eight are enough (below).
        const QString shortFile = m_dir.writeFile("short", "1234567\n");
        QVERIFY(AdminTool::Fails(set({"--password-file", shortFile}), {"at least 8 characters"}));
        QVERIFY(AdminTool::Fails(set({"--password-file", m_dir.file("absent")}),
                                 {"cannot read the password file"}));
        // Never on the command line itself, where every user sees it.
        QVERIFY(AdminTool::Misuses(set({"--password", "visible-pw"}), {"--password-file"}));
        QVERIFY(AdminTool::Misuses(set({})));
        // "-" without a terminal: tst_setadminpassword (the same prompt).
        QCOMPARE(stored(), before);
        const QString eight = m_dir.writeFile("eight", "12345678\n");
        QVERIFY(AdminTool::Runs(set({"--password-file", eight})));
        QVERIFY(ViewerPassword::Matches(QStringLiteral("12345678"), stored()));
    }

    // Two answers that differ change nothing: tst_setadminpassword (the same prompt).
    void askedTwiceWithoutEcho() {
        if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
            QSKIP("script(1) is missing");
        const ToolRun run = onTerminal({"am-terminal-pw", "am-terminal-pw"});
        QVERIFY2(run.code == 0, run.out.constData());
        QVERIFY(ViewerPassword::Matches(QStringLiteral("am-terminal-pw"), stored()));
        QVERIFY2(!run.out.contains("am-terminal-pw"), run.out.constData());
    }
};

QTEST_MAIN(tst_webpassword)
#include "tst_webpassword.moc"
