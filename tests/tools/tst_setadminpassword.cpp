// The administrator password typed on a terminal (asked twice, never shown)
// and attendance-admin set-admin-password with its row of the trail.
#include "shared/config/IniFile.h"
#include "shared/config/PasswordModule.h"
#include "tests/common/PgTestServer.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

namespace {

// attendance-admin on a terminal of its own (util-linux script): each answer
// is typed only once the prompt before it has appeared, as a person would.
struct Terminal {
    QProcess script;
    QByteArray screen;

    explicit Terminal(const QStringList& args) {
        QStringList quoted;
        for (const QString& a : args)
            quoted << QLatin1Char('\'') + a + QLatin1Char('\'');
        script.start(QStringLiteral("script"),
                     {QStringLiteral("-qec"), AdminTool::Path() + u' ' + quoted.join(u' '),
                      QStringLiteral("/dev/null")});
    }
    // Waits for `prompt` to appear after what was read so far, then types `line`.
    bool answer(const QByteArray& prompt, const QByteArray& line) {
        const qsizetype from = screen.size();
        QElapsedTimer t;
        t.start();
        while (screen.indexOf(prompt, from) < 0) {
            if (t.elapsed() > 30000 || script.state() == QProcess::NotRunning)
                return false;
            script.waitForReadyRead(200);
            screen += script.readAll();
        }
        return script.write(line + '\n') > 0;
    }
    // The exit code of the program (script passes it on) once it has ended.
    int finish() {
        script.closeWriteChannel();
        if (!script.waitForFinished(60000))
            return -1;
        screen += script.readAll();
        return script.exitCode();
    }
};

} // namespace

class tst_SetAdminPassword : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    QTemporaryDir m_root;

    // A command line on the test's program directory.
    QStringList on(QStringList args) const { return args << "--dir" << fx->path(); }
    int passwordRows() { return fx->rows("Correction WHERE ACTION = 'password'"); }
    bool stored(const QString& password) const {
        return fx->ini("OTHER", "ALP") == EncodePassword(password);
    }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(SavePassword(QStringLiteral("old")));
    }
    void cleanup() { fx.reset(); }

    // init's first password: asked twice without echo; two different
    // answers make nothing at all; the typed password never appears.
    void initAsksTwice() {
        const QString differ = m_root.filePath("differ");
        Terminal first({"init", differ, "--password", "-"});
        QVERIFY(first.answer("--password: ", "Secret-1"));
        QVERIFY(first.answer("--password (again): ", "Secret-2"));
        QCOMPARE(first.finish(), 1);
        QVERIFY2(first.screen.contains("differ"), first.screen.constData());
        QVERIFY(!QFileInfo::exists(differ));

        const QString same = m_root.filePath("same");
        Terminal second({"init", same, "--password", "-", "--demo"});
        QVERIFY(second.answer("--password: ", "Secret-3"));
        QVERIFY(second.answer("(again): ", "Secret-3"));
        QCOMPARE(second.finish(), 0);
        QCOMPARE(IniFile(same + QStringLiteral("/attendance.ini")).Read("OTHER", "ALP"),
                 EncodePassword(QStringLiteral("Secret-3")));
        QVERIFY2(!second.screen.contains("Secret"), second.screen.constData());
        QVERIFY(second.screen.contains("administrator password: as given"));

        // With a server, --password is the login's existing password: asked once.
        Terminal login({"init", m_root.filePath("srv"), "--engine", "postgresql", "--server",
                        "127.0.0.1:1", "--user", "u", "--database", "d", "--password", "-"});
        QVERIFY(login.answer("--password: ", "x"));
        QCOMPARE(login.finish(), 1);
        QVERIFY(!login.screen.contains("again"));
    }

    // --demo names its own default password, never one given.
    void demoShowsOnlyItsOwnPassword() {
        const QString pw = m_root.filePath("pw");
        QVERIFY(writeFile(pw, "Typed-Secret\n"));
        ToolRun r =
            AdminTool::Run({"init", m_root.filePath("d1"), "--demo", "--password-file", pw});
        QCOMPARE(r.code, 0);
        QVERIFY(!r.out.contains("Typed-Secret") && r.out.contains("as given (--password)"));
        r = AdminTool::Run({"init", m_root.filePath("d2"), "--demo"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains("administrator password: 123456"));
    }

    // From a file or the terminal: the new password with one trail row;
    // every refusal changes neither the password nor the trail (two
    // answers that differ: initAsksTwice, the same prompt).
    void setsPasswordWithTrailRow() {
        const QString file = fx->writeFile("new-pw", "neu Passwort 1\r\nzwei\n");
        QVERIFY(AdminTool::Runs(on({"set-admin-password", "--password-file", file})));
        QVERIFY(stored("neu Passwort 1"));
        QCOMPARE(passwordRows(), 1);
        const ToolRun trail = AdminTool::Run(on({"trail"}));
        QVERIFY(trail.out.contains("\tpassword\t") && !trail.out.contains("neu"));

        Terminal typed(on({"set-admin-password", "-"}));
        QVERIFY(typed.answer("new administrator password: ", "Typed-2"));
        QVERIFY(typed.answer("(again): ", "Typed-2"));
        QCOMPARE(typed.finish(), 0);
        QVERIFY(stored("Typed-2") && !typed.screen.contains("Typed-2"));
        QCOMPARE(passwordRows(), 2);

        const QString blanks = fx->writeFile("blanks", " x\n");
        const QString empty = fx->writeFile("empty", "\n");
        QVERIFY(
            AdminTool::Fails(on({"set-admin-password", "--password-file", blanks}), {"blanks"}));
        QVERIFY(AdminTool::Fails(on({"set-admin-password", "--password-file", empty})));
        // A password file that cannot be read: tst_webpassword (the same reader).
        // "-" without a terminal; a plain password (seen in ps); none or both.
        QVERIFY(AdminTool::Fails(on({"set-admin-password", "-"}), {"terminal"}));
        QVERIFY(AdminTool::Misuses(on({"set-admin-password", "plain"}), {"ps"}));
        QVERIFY(AdminTool::Misuses(on({"set-admin-password"})));
        QVERIFY(AdminTool::Misuses(on({"set-admin-password", "-", "--password-file", file})));
        QVERIFY(stored("Typed-2"));
        QCOMPARE(passwordRows(), 2);
    }

    // A configuration this user may not write is named before anything is
    // asked; a trail that refuses the row leaves the old password.
    void refusedWritesChangeNothing() {
        const QString file = fx->writeFile("pw", "another\n");
        const QStringList set = on({"set-admin-password", "--password-file", file});
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(fx->iniPath, QFile::ReadOwner));
            QVERIFY(AdminTool::Fails(set, {"not writable", fx->iniPath}));
            QVERIFY(QFile::setPermissions(fx->iniPath, QFile::ReadOwner | QFile::WriteOwner));
        } else {
            QCOMPARE(QProcess::execute(QStringLiteral("chattr"), {"+i", fx->path()}), 0);
            const bool refused = AdminTool::Fails(set, {"not writable"});
            QProcess::execute(QStringLiteral("chattr"), {"-i", fx->path()});
            QVERIFY(refused);
        }
        QCOMPARE(passwordRows(), 0);

        // A trail that takes no row.
        const QStringList refuse =
            TestProgramDir::OnServer()
                ? QStringList{"CREATE FUNCTION no_trail() RETURNS trigger LANGUAGE plpgsql AS $$ "
                              "BEGIN RAISE EXCEPTION 'the trail is closed'; END $$",
                              "CREATE TRIGGER no_trail BEFORE INSERT ON Correction FOR EACH ROW "
                              "EXECUTE FUNCTION no_trail()"}
                : QStringList{"CREATE TRIGGER no_trail BEFORE INSERT ON Correction BEGIN SELECT "
                              "RAISE(ABORT, 'the trail is closed'); END"};
        for (const QString& sql : refuse)
            QVERIFY2(fx->exec(sql), qPrintable(fx->lastError));
        QVERIFY(AdminTool::Fails(set, {"trail"}));
        QVERIFY(stored("old"));
    }

    // With the README's grants the stations' login sets the password
    // through the server's function, named in the trail by the login. A
    // database of the release before schema versions, whose functions lack
    // this one, is refused to that login (which may not upgrade it) until
    // the owner has opened it; then the login corrects, and sets the
    // password once it may EXECUTE the function.
    void stationLoginOnServer() {
        if (!TestProgramDir::OnServer())
            QSKIP("the rights of logins on a server");
        const QString role = QStringLiteral("pw_") + fx->server()->name();
        const QString owner = fx->ini("ATTENDANCE", "DBLOGINNAME");
        const QString ownerPassword = fx->ini("ATTENDANCE", "DBLOGINPWD");
        QVERIFY(fx->addDept(1, "办公室") && fx->addEmployee("7", "张三", "7", 1));
        for (const char* sql :
             {"CREATE ROLE %1 LOGIN PASSWORD 'x'", "GRANT USAGE ON SCHEMA public TO %1",
              "GRANT SELECT, INSERT, UPDATE, DELETE ON dept, employee, presence TO %1",
              "GRANT EXECUTE ON FUNCTION attendance_correct(text, text, text, text, text, text, "
              "text, text, text) TO %1",
              "GRANT SELECT ON correction, monthclose, workschedule, workcalendar TO %1"})
            QVERIFY2(fx->exec(QString::fromLatin1(sql).arg(role)), qPrintable(fx->lastError));
        for (const char* sql :
             {"DROP FUNCTION attendance_password_trail(text, text)",
              "COMMENT ON FUNCTION attendance_presence_guard() IS 'attendance guards 1'",
              "DROP TABLE SchemaVersion"})
            QVERIFY2(fx->exec(sql), qPrintable(fx->lastError));
        // The tool reads the login from attendance.ini; this process keeps
        // the owner's connection.
        const auto login = [&](const QString& name, const QString& password) {
            return fx->setIni("ATTENDANCE", "DBLOGINNAME", name) &&
                   fx->setIni("ATTENDANCE", "DBLOGINPWD", password);
        };
        QVERIFY(login(role, "x"));
        const QString day = QDate::currentDate().addDays(-1).toString(Qt::ISODate);
        const QStringList correct =
            on({"correct", "7", day, "--arrival", "08:00", "--reason", "r"});
        QVERIFY(AdminTool::Fails(correct, {"migrate"}));
        const QString file = fx->writeFile("pw", "station set\n");
        const QStringList set = on({"set-admin-password", "--password-file", file});
        QVERIFY(AdminTool::Fails(set, {"migrate"}));
        QVERIFY(login(owner, ownerPassword));
        QVERIFY(AdminTool::Runs(on({"check"})));
        QVERIFY(login(role, "x"));
        QVERIFY(AdminTool::Runs(correct));
        QVERIFY(AdminTool::Fails(set, {"trail"}));
        QVERIFY(stored("old"));
        QVERIFY(fx->exec(
            QStringLiteral("GRANT EXECUTE ON FUNCTION attendance_password_trail(text, text) TO %1")
                .arg(role)));
        QVERIFY(AdminTool::Runs(set));
        QVERIFY(stored("station set"));
        QCOMPARE(fx->count(QStringLiteral("SELECT COUNT(*) FROM Correction WHERE OPERATOR = '%1' "
                                          "AND ACTION IN ('add', 'password')")
                               .arg(role)),
                 2);
        for (const char* sql : {"DROP OWNED BY %1", "DROP ROLE %1"})
            QVERIFY2(fx->exec(QString::fromLatin1(sql).arg(role)), qPrintable(fx->lastError));
    }
};

QTEST_MAIN(tst_SetAdminPassword)
#include "tst_setadminpassword.moc"
