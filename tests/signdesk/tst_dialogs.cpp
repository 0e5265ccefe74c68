// The station's small dialogs: login, password change, unit name and the
// database settings.
#include "platform/DesktopKit.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/PasswordModule.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/db/DbCreator.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frmChgPwd.h"
#include "signdesk/frmConDbParaSet.h"
#include "signdesk/frmLogin.h"
#include "signdesk/frmSetSchoolName.h"
#include "tests/common/BoxLog.h"
#include "tests/common/PgTestServer.h"
#include "tests/common/TestProgramDir.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

namespace {

void type(QWidget* w, const char* field, const QString& text) {
    child<QLineEdit>(w, field)->setText(text);
}

void click(QWidget* w, const char* button) {
    QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
}

// Types into the fields in order (null: left as is) and clicks `button`.
void fill(QWidget* w, std::initializer_list<const char*> fields, const QStringList& texts,
          const char* button) {
    int i = 0;
    for (const char* f : fields) {
        if (!texts[i].isNull())
            type(w, f, texts[i]);
        ++i;
    }
    click(w, button);
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;

    // Points the program directory at a folder below a regular file, so no
    // configuration write can succeed, whoever runs the test.
    void blockConfiguration() {
        const QString blocker = fx->writeFile(QStringLiteral("blocker"), QByteArray());
        SetProgramDirectory(blocker + QStringLiteral("/station"));
    }

private slots:
    void initTestCase() { DesktopKit::SetProgramTitle(Station::ProgramTitle()); }

    void init() {
        boxes.clear();
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
    }

    void cleanup() { fx.reset(); }

    // Password entries are hidden and take no input method (which would show them).
    void passwordFieldsHideTheirText() {
        frmLogin login;
        frmChgPwd chgpwd;
        frmConDbParaSet db;
        QStringList hidden; // and no other field
        for (QWidget* dialog : std::initializer_list<QWidget*>{&login, &chgpwd, &db})
            for (QLineEdit* f : dialog->findChildren<QLineEdit*>())
                if (f->echoMode() == QLineEdit::Password &&
                    !f->testAttribute(Qt::WA_InputMethodEnabled))
                    hidden << f->objectName();
        QCOMPARE(hidden.join(' '), "txtPwd txtOldPwd txtNewPWD1 txtNewPWD2 txtPwd");
    }

    // Enter logs in with the trimmed password; an empty entry is refused with
    // the dialog open; a wrong one closes quietly. The main window reuses one
    // dialog: cancel (button or Escape) clears the earlier result. The field
    // is always emptied.
    void login() {
        QVERIFY(SavePassword(QStringLiteral("ab12")));
        frmLogin dlg;
        for (const QString& entry : {QString(), QStringLiteral("   ")}) {
            dlg.show();
            boxes.clear();
            fill(&dlg, {"txtPwd"}, {entry}, "btnLogin");
            QCOMPARE(boxes.lines(), box("警告", "请输入密码！"));
            QVERIFY(dlg.isVisible() && !dlg.LoginOK());
        }
        boxes.clear();
        fill(&dlg, {"txtPwd"}, {QStringLiteral("ab123")}, "btnLogin"); // another digit form
        QVERIFY(dlg.isHidden() && !dlg.LoginOK());

        dlg.show();
        auto* pwd = child<QLineEdit>(&dlg, "txtPwd");
        QVERIFY(pwd->text().isEmpty());
        pwd->setFocus();
        QTest::keyClicks(pwd, QStringLiteral("  ab12 "));
        QTest::keyClick(pwd, Qt::Key_Return);
        QVERIFY(dlg.isHidden() && dlg.LoginOK() && pwd->text().isEmpty() && boxes.isEmpty());

        for (const char* button : {"btnCancle", "btnLogin"}) {
            QTimer::singleShot(0, &dlg, [&dlg, button] {
                fill(&dlg, {"txtPwd"}, {QStringLiteral("ab12")}, button);
            });
            const bool login = button == QLatin1String("btnLogin");
            QCOMPARE(dlg.exec(), int(login ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(dlg.LoginOK(), login);
            QVERIFY(pwd->text().isEmpty());
        }
        dlg.show();
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(dlg.isHidden() && !dlg.LoginOK());
    }

    // Enter in the old and the first new field moves on; only the last
    // confirms: a wrong old password (another length: another digit form),
    // new entries that differ, an empty new password (it could never log in
    // again) are refused; the entries are trimmed.
    void chgpwd() {
        const std::tuple<QStringList, QString, QString> cases[] = {
            // typed, shown, in force
            {{"old12", "new1", "new1"}, box("警告", "原密码错误！"), "old1"},
            {{"old1", "new1", "new2x"}, box("警告", "输入的两次新密码不一致！"), "old1"},
            {{"old1", "  ", ""}, box("提示", "请输入新密码！"), "old1"},
            {{" old1 ", " 新pw9 ", "新pw9  "},
             box("消息", "新密码已成功设定！", MsgBox::Icon::Information),
             "新pw9"}};
        for (const auto& [typed, shown, inForce] : cases) {
            QVERIFY(SavePassword(QStringLiteral("old1")));
            boxes.clear();
            frmChgPwd dlg;
            dlg.show();
            QVERIFY(QTest::qWaitForWindowActive(&dlg));
            const char* const names[] = {"txtOldPwd", "txtNewPWD1", "txtNewPWD2"};
            child<QLineEdit>(&dlg, names[0])->setFocus();
            for (int i = 0; i < 3; ++i) {
                QVERIFY(boxes.isEmpty() && dlg.isVisible());
                QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&dlg, names[i]));
                type(&dlg, names[i], typed[i]);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            QCOMPARE(boxes.lines(), shown);
            QCOMPARE(dlg.isVisible(), inForce == QLatin1String("old1"));
            // The file holds the digit form of the trimmed entry, never the password.
            QCOMPARE(fx->ini("OTHER", "ALP"), EncodePassword(inForce));
        }
    }

    // A failed write is reported and leaves the old password in force; cancel
    // closes without another message. The same for the database settings; the
    // unit name's dialog stays open.
    void writeFailuresAreReported() {
        blockConfiguration();
        frmChgPwd chgpwd;
        chgpwd.show();
        fill(&chgpwd, {"txtNewPWD1", "txtNewPWD2"}, {"abc", "abc"}, "btnOK");
        frmConDbParaSet db;
        db.show();
        fill(&db, {"txtServer", "txtLoginName", "txtPwd", "txtDbName"}, {"srv", "sa", "pw", "db"},
             "cmbSet");
        frmSetSchoolName unit; // any refused write (a name without a GBK code: tst_configuration)
        unit.show();
        fill(&unit, {"txtUnitName"}, {"第二中学"}, "cmdSave");
        const QString failed = box("错误", "保存新密码失败，原密码仍然有效！") +
                               box("错误", "保存数据库连接信息失败！", MsgBox::Icon::Critical) +
                               box("签到系统", "设定使用单位名称失败！");
        QCOMPARE(boxes.lines(), failed);
        QVERIFY(!CheckPassword(QStringLiteral("abc")) && unit.isVisible());
        const std::pair<QDialog*, const char*> cancels[] = {{&chgpwd, "btnCancel"},
                                                            {&db, "cmdCancel"}};
        for (const auto& [dialog, cancel] : cancels) {
            QVERIFY(dialog->isVisible());
            click(dialog, cancel);
            QVERIFY(dialog->isHidden() && dialog->result() == QDialog::Rejected);
        }
        QCOMPARE(boxes.lines(), failed);
    }

    // A blank name is refused with the dialog open; a name is saved trimmed.
    void unitName() {
        for (const auto& [typed, shown, stored] :
             {std::tuple{"   ", box("警告", "请输入使用单位名称！"), "实验中学"},
              {"  第二中学 ", QString(), "第二中学"}}) {
            boxes.clear();
            frmSetSchoolName dlg;
            QCOMPARE(child<QLineEdit>(&dlg, "txtUnitName")->text(), clsSchoolArea().SNAME());
            dlg.show();
            fill(&dlg, {"txtUnitName"}, {typed}, "cmdSave");
            QCOMPARE(boxes.lines(), shown);
            QCOMPARE(dlg.isVisible(), !shown.isEmpty());
            QCOMPARE(clsSchoolArea().SNAME(), stored);
        }
    }

    // Each missing entry in order, the file untouched; then saved (blank password
    // included) and shown by the next dialog.
    void dbSettings() {
        const QByteArray iniBefore = readFile(fx->iniPath);
        frmConDbParaSet dlg;
        dlg.show();
        const char* fields[] = {"txtServer", "txtLoginName", "txtPwd", "txtDbName"};
        const char* missing[] = {"请输入数据库服务器名称或IP！", "请输入数据库登陆名！",
                                 "请输入数据库登陆密码！", "请输入数据库名称！"};
        const QStringList values = {" 192.168.0.5 ", " sa ", "   ", " attendance "};
        for (int i = 0; i < 4; ++i) {
            boxes.clear();
            type(&dlg, fields[i], i == 2 ? QString() : QStringLiteral(" "));
            click(&dlg, "cmbSet");
            QCOMPARE(boxes.lines(), box("提示", QString::fromUtf8(missing[i])));
            type(&dlg, fields[i], values[i]);
        }
        QCOMPARE(readFile(fx->iniPath), iniBefore);
        boxes.clear();
        click(&dlg, "cmbSet");
        QCOMPARE(boxes.lines(),
                 box("信息", "数据库连接参数已被成功保存！", MsgBox::Icon::Information));
        QVERIFY(dlg.isHidden());
        QVERIFY(readFile(fx->iniPath).contains("DBLOGINPWD="));
        frmConDbParaSet next;
        const QStringList shown = {"192.168.0.5", "sa", "attendance"};
        for (int i : {0, 1, 3})
            QCOMPARE(child<QLineEdit>(&next, fields[i])->text(), shown[i - i / 3]);
    }

    // The test opens "vorerur.mdb" in the program directory; the fields play no part.
    // On a server configuration it tries the server the fields name: `file`
    // then names the field to spoil.
    void dbTestConnection_data() {
        QTest::addColumn<QByteArray>("file"); // null: no file
        QTest::addColumn<QString>("message");
        if (TestProgramDir::OnServer()) {
            QTest::newRow("settings") << QByteArray() << "数据库连接成功！";
            QTest::newRow("wrong password") << QByteArray("txtPwd") << "数据库连接失败！";
            QTest::newRow("unreachable port") << QByteArray("txtServer") << "数据库连接失败！";
            QTest::newRow("no tables") << QByteArray("txtDbName") << "数据库连接失败！";
            return;
        }
        QTest::newRow("missing file") << QByteArray() << "数据库连接失败！";
        QTest::newRow("database") << QByteArray("") << "数据库连接成功！";
        QTest::newRow("not a database") << QByteArray(4096, 'x') << "数据库连接失败！";
    }

    void dbTestConnection() {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        const QString mdb = fx->file(QStringLiteral("vorerur.mdb"));
        const bool server = TestProgramDir::OnServer();
        if (!server && !file.isNull())
            QVERIFY(file.isEmpty() ? DbCreator::Create(mdb) : writeFile(mdb, file));
        std::unique_ptr<PgTestDatabase> empty; // a database without the tables
        if (server)
            empty = std::make_unique<PgTestDatabase>();
        const QStringList before = QSqlDatabase::connectionNames();
        frmConDbParaSet dlg;
        dlg.show();
        if (!server) {
            fill(&dlg, {"txtServer"}, {""}, "cmdTest");
        } else {
            QVERIFY2(empty->ok(), qPrintable(empty->error()));
            const QMap<QByteArray, QString> spoilt = {
                {"txtPwd", fx->server()->password() + QStringLiteral("x")},
                {"txtServer", fx->server()->host() + QStringLiteral(":1")},
                {"txtDbName", empty->name()}};
            if (!file.isNull())
                type(&dlg, file.constData(), spoilt.value(file));
            click(&dlg, "cmdTest");
        }
        QCOMPARE(boxes.lines(), box("信息", message, MsgBox::Icon::Information));
        QVERIFY(dlg.isVisible());
        QCOMPARE(QFile::exists(mdb), !server && !file.isNull()); // the test never creates the file
        QCOMPARE(QSqlDatabase::connectionNames(), before);       // and closes its connection
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
