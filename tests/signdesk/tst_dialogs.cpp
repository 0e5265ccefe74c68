// The station's small dialogs: login, password change, unit name and the
// database settings.
#include "PasswordModule.h"
#include "ProgramDirectory.h"
#include "clsConDbSet.h"
#include "clsConfiguration.h"
#include "clsSchoolArea.h"
#include "frmChgPwd.h"
#include "frmConDbParaSet.h"
#include "frmLogin.h"
#include "frmSetSchoolName.h"
#include "helpers/BoxLog.h"
#include "TestProgramDir.h"

#include <DatabaseSchema.h>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTimer>
#include <QtTest>

namespace {

void type(QWidget* w, const char* field, const QString& text) {
    child<QLineEdit>(w, field)->setText(text);
}

void click(QWidget* w, const char* button) {
    QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
}

QString storedAlp(const TestProgramDir& fx) {
    clsConfiguration cfg;
    cfg.setFileName(fx.iniPath);
    cfg.setGroup(QStringLiteral("OTHER"));
    return cfg.GetItem(QStringLiteral("ALP"));
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void passwordFieldsHideTheirText();

    void login_rightPasswordWithBlanks();
    void login_emptyOrBlankEntryStaysOpen();
    void login_wrongPasswordClosesQuietly();
    void login_cancelAndReuse();

    void chgpwd_refused_data();
    void chgpwd_refused();
    void chgpwd_successStoresDigitForm();
    void chgpwd_emptyNewPassword();
    void chgpwd_writeFailureIsReported();

    void unit_emptyNameRefused();
    void unit_savedTrimmed();
    void unit_notStored_data();
    void unit_notStored();

    void db_showsStoredSettings();
    void db_checkInputOrder();
    void db_blankPasswordPassesAndIsSaved();
    void db_writeFailureIsReported();
    void db_testConnection_data();
    void db_testConnection();

private:
    // Points the program directory at a folder below a regular file, so no
    // configuration write can succeed, whoever runs the test.
    void blockConfiguration();

    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;
};

void TestDialogs::init() {
    boxes.clear();
    fx = std::make_unique<TestProgramDir>();
    QVERIFY2(fx->init(), qPrintable(fx->lastError));
}

void TestDialogs::cleanup() {
    fx.reset();
}

void TestDialogs::blockConfiguration() {
    const QString blocker = fx->file(QStringLiteral("blocker"));
    QVERIFY(writeFile(blocker, QByteArray()));
    SetProgramDirectory(blocker + QStringLiteral("/station"));
}

// Password entries are hidden and take no input method (which would show them).
void TestDialogs::passwordFieldsHideTheirText() {
    frmLogin login;
    frmChgPwd chgpwd;
    frmConDbParaSet db;
    const std::pair<QWidget*, const char*> fields[] = {{&login, "txtPwd"},
                                                       {&chgpwd, "txtOldPwd"},
                                                       {&chgpwd, "txtNewPWD1"},
                                                       {&chgpwd, "txtNewPWD2"},
                                                       {&db, "txtPwd"}};
    for (const auto& [dialog, name] : fields) {
        auto* f = child<QLineEdit>(dialog, name);
        QCOMPARE(f->echoMode(), QLineEdit::Password);
        QVERIFY2(!f->testAttribute(Qt::WA_InputMethodEnabled), name);
    }
    QVERIFY(!login.testAttribute(Qt::WA_DeleteOnClose)); // the main window reuses it
}

// ---- login ---------------------------------------------------------------

void TestDialogs::login_rightPasswordWithBlanks() {
    QVERIFY(SavePassword(QStringLiteral("ab12")));
    frmLogin dlg;
    dlg.show();
    // Typed, and Enter presses the login button.
    auto* pwd = child<QLineEdit>(&dlg, "txtPwd");
    pwd->setFocus();
    QTest::keyClicks(pwd, QStringLiteral("  ab12 "));
    QTest::keyClick(pwd, Qt::Key_Return);
    QVERIFY(dlg.LoginOK());
    QVERIFY(dlg.isHidden());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(child<QLineEdit>(&dlg, "txtPwd")->text().isEmpty());
    QVERIFY(boxes.isEmpty());
}

void TestDialogs::login_emptyOrBlankEntryStaysOpen() {
    QVERIFY(SavePassword(QStringLiteral("ab12")));
    frmLogin dlg;
    dlg.show();
    for (const QString& entry : {QString(), QStringLiteral("   ")}) {
        boxes.clear();
        type(&dlg, "txtPwd", entry);
        click(&dlg, "btnLogin");
        QCOMPARE(boxes.lines(), box("警告", "请输入密码！"));
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.LoginOK());
    }
}

void TestDialogs::login_wrongPasswordClosesQuietly() {
    QVERIFY(SavePassword(QStringLiteral("ab12")));
    frmLogin dlg;
    dlg.show();
    type(&dlg, "txtPwd", QStringLiteral("ab123")); // another length: another digit form
    click(&dlg, "btnLogin");
    QVERIFY(!dlg.LoginOK());
    QVERIFY(dlg.isHidden());
    QVERIFY(boxes.isEmpty());
    QVERIFY(child<QLineEdit>(&dlg, "txtPwd")->text().isEmpty());
}

void TestDialogs::login_cancelAndReuse() {
    QVERIFY(SavePassword(QStringLiteral("ab12")));
    frmLogin dlg;
    // First use through exec(), as the main window does; the dialog only hides.
    QTimer::singleShot(0, &dlg, [&dlg] {
        type(&dlg, "txtPwd", QStringLiteral("ab12"));
        click(&dlg, "btnLogin");
    });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QVERIFY(dlg.LoginOK());

    // Second use of the same instance: cancel clears the earlier result and
    // does not leave the typed text behind for the next showing.
    QTimer::singleShot(0, &dlg, [&dlg] {
        type(&dlg, "txtPwd", QStringLiteral("ab12"));
        click(&dlg, "btnCancle");
    });
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    QVERIFY(!dlg.LoginOK());
    QVERIFY(child<QLineEdit>(&dlg, "txtPwd")->text().isEmpty());

    // Escape behaves as the cancel button.
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(dlg.isHidden());
    QVERIFY(!dlg.LoginOK());
}

// ---- password change -----------------------------------------------------

void TestDialogs::chgpwd_refused_data() {
    QTest::addColumn<QString>("oldPwd");
    QTest::addColumn<QString>("newPwd2");
    QTest::addColumn<QString>("message");
    // A wrong old password of another length has another digit form.
    QTest::newRow("wrong old") << "old12"
                               << "new1"
                               << "原密码错误！";
    QTest::newRow("entries differ") << "old1"
                                    << "new2x"
                                    << "输入的两次新密码不一致！";
}

void TestDialogs::chgpwd_refused() {
    QFETCH(QString, oldPwd);
    QFETCH(QString, newPwd2);
    QFETCH(QString, message);
    QVERIFY(SavePassword(QStringLiteral("old1")));
    const QString before = storedAlp(*fx);
    frmChgPwd dlg;
    dlg.show();
    type(&dlg, "txtOldPwd", oldPwd);
    type(&dlg, "txtNewPWD1", QStringLiteral("new1"));
    type(&dlg, "txtNewPWD2", newPwd2);
    click(&dlg, "btnOK");
    QCOMPARE(boxes.lines(), box("警告", message));
    QVERIFY(dlg.isVisible());
    QCOMPARE(child<QLineEdit>(&dlg, "txtOldPwd")->text(), oldPwd);
    QCOMPARE(storedAlp(*fx), before);
}

void TestDialogs::chgpwd_successStoresDigitForm() {
    QVERIFY(SavePassword(QStringLiteral("old1")));
    frmChgPwd dlg;
    dlg.show();
    type(&dlg, "txtOldPwd", QStringLiteral(" old1 "));
    type(&dlg, "txtNewPWD1", QStringLiteral(" 新pw9 "));
    type(&dlg, "txtNewPWD2", QStringLiteral("新pw9  "));
    click(&dlg, "btnOK");
    QCOMPARE(boxes.lines(), box("消息", "新密码已成功设定！", MsgBox::Icon::Information));
    QVERIFY(dlg.isHidden());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));

    // The file holds the digit form of the trimmed entry, not the password.
    const QString stored = storedAlp(*fx);
    QCOMPARE(stored, EncodePassword(QStringLiteral("新pw9")));
    QCOMPARE(stored.size(), 4);
    QVERIFY(stored.at(0).unicode() >= 39 && stored.at(0).unicode() <= 48); // double-byte
    for (int i = 1; i < 4; ++i)
        QVERIFY(stored.at(i).isDigit());
    QVERIFY(!stored.contains(QStringLiteral("pw")));
    QVERIFY(CheckPassword(QStringLiteral("新pw9")));
    QVERIFY(!CheckPassword(QStringLiteral("old1")));
}

void TestDialogs::chgpwd_emptyNewPassword() {
    QVERIFY(SavePassword(QStringLiteral("old1")));
    frmChgPwd dlg;
    dlg.show();
    type(&dlg, "txtOldPwd", QStringLiteral("old1"));
    type(&dlg, "txtNewPWD1", QStringLiteral("  "));
    click(&dlg, "btnOK");
    QCOMPARE(boxes.lines(), box("消息", "新密码已成功设定！", MsgBox::Icon::Information));
    QVERIFY(storedAlp(*fx).isEmpty());
}

void TestDialogs::chgpwd_writeFailureIsReported() {
    blockConfiguration();
    QVERIFY(GetStoredPassword().isEmpty()); // nothing readable: the old password is empty
    frmChgPwd dlg;
    dlg.show();
    type(&dlg, "txtNewPWD1", QStringLiteral("abc"));
    type(&dlg, "txtNewPWD2", QStringLiteral("abc"));
    click(&dlg, "btnOK");
    const QString failed = box("错误", "保存新密码失败，原密码仍然有效！");
    QCOMPARE(boxes.lines(), failed);
    QVERIFY(dlg.isVisible());
    QVERIFY(!CheckPassword(QStringLiteral("abc")));

    // Cancel afterwards closes without writing.
    click(&dlg, "btnCancel");
    QVERIFY(dlg.isHidden());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(boxes.lines(), failed);
}

// ---- unit name -----------------------------------------------------------

void TestDialogs::unit_emptyNameRefused() {
    frmSetSchoolName dlg;
    QCOMPARE(child<QLineEdit>(&dlg, "txtUnitName")->text(), QStringLiteral("实验中学"));
    dlg.show();
    type(&dlg, "txtUnitName", QStringLiteral("   "));
    click(&dlg, "cmdSave");
    QCOMPARE(boxes.lines(), box("警告", "请输入使用单位名称！"));
    QVERIFY(dlg.isVisible());
    QCOMPARE(clsSchoolArea().SNAME(), QStringLiteral("实验中学"));
}

void TestDialogs::unit_savedTrimmed() {
    frmSetSchoolName dlg;
    dlg.show();
    type(&dlg, "txtUnitName", QStringLiteral("  第二中学 "));
    click(&dlg, "cmdSave");
    QVERIFY(boxes.isEmpty());
    QVERIFY(dlg.isHidden());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(clsSchoolArea().SNAME(), QStringLiteral("第二中学"));
}

void TestDialogs::unit_notStored_data() {
    QTest::addColumn<bool>("blocked");
    QTest::addColumn<QString>("name");
    QTest::newRow("unwritable file") << true << "第二中学";
    // The configuration file is GBK: a name it cannot hold is not saved.
    QTest::newRow("no GBK code") << false << "单位\U0001F600";
}

void TestDialogs::unit_notStored() {
    QFETCH(bool, blocked);
    QFETCH(QString, name);
    if (blocked)
        blockConfiguration();
    frmSetSchoolName dlg;
    dlg.show();
    type(&dlg, "txtUnitName", name);
    click(&dlg, "cmdSave");
    QCOMPARE(boxes.lines(), box("签到系统", "设定使用单位名称失败！"));
    QVERIFY(dlg.isVisible());
    QCOMPARE(clsSchoolArea().SNAME(), blocked ? QString() : QStringLiteral("实验中学"));
}

// ---- database settings ---------------------------------------------------

void TestDialogs::db_showsStoredSettings() {
    QVERIFY(fx->setIni("ATTENDANCE", "DBSERVER", QStringLiteral("srv1")));
    QVERIFY(fx->setIni("ATTENDANCE", "DBLOGINNAME", QStringLiteral("sa")));
    QVERIFY(fx->setIni("ATTENDANCE", "DBLOGINPWD", QStringLiteral("secret")));
    QVERIFY(fx->setIni("ATTENDANCE", "DBNAME", QStringLiteral("kq")));
    frmConDbParaSet dlg;
    QCOMPARE(child<QLineEdit>(&dlg, "txtServer")->text(), QStringLiteral("srv1"));
    QCOMPARE(child<QLineEdit>(&dlg, "txtLoginName")->text(), QStringLiteral("sa"));
    QCOMPARE(child<QLineEdit>(&dlg, "txtPwd")->text(), QStringLiteral("secret"));
    QCOMPARE(child<QLineEdit>(&dlg, "txtDbName")->text(), QStringLiteral("kq"));
}

void TestDialogs::db_checkInputOrder() {
    const QByteArray iniBefore = readFile(fx->iniPath);
    frmConDbParaSet dlg;
    dlg.show();
    struct Step {
        const char* field;
        QString value;
        QString message;
    };
    const Step steps[] = {
        {"txtServer", QStringLiteral(" "), QStringLiteral("请输入数据库服务器名称或IP！")},
        {"txtServer", QStringLiteral("srv"), QStringLiteral("请输入数据库登陆名！")},
        {"txtLoginName", QStringLiteral("sa"), QStringLiteral("请输入数据库登陆密码！")},
        {"txtPwd", QStringLiteral("pw"), QStringLiteral("请输入数据库名称！")},
    };
    for (const Step& s : steps) {
        boxes.clear();
        type(&dlg, s.field, s.value);
        type(&dlg, "txtDbName", QStringLiteral("  "));
        click(&dlg, "cmbSet");
        QCOMPARE(boxes.lines(), box("提示", s.message));
        QVERIFY(dlg.isVisible());
    }
    QCOMPARE(readFile(fx->iniPath), iniBefore);
}

void TestDialogs::db_blankPasswordPassesAndIsSaved() {
    frmConDbParaSet dlg;
    dlg.show();
    type(&dlg, "txtServer", QStringLiteral(" 192.168.0.5 "));
    type(&dlg, "txtLoginName", QStringLiteral(" sa "));
    type(&dlg, "txtPwd", QStringLiteral("   "));
    type(&dlg, "txtDbName", QStringLiteral(" attendance "));
    click(&dlg, "cmbSet");
    QCOMPARE(boxes.lines(), box("信息", "数据库连接参数已被成功保存！", MsgBox::Icon::Information));
    QVERIFY(dlg.isHidden());
    const clsConDbSet set;
    QCOMPARE(set.Server(), QStringLiteral("192.168.0.5"));
    QCOMPARE(set.LoginName(), QStringLiteral("sa"));
    QCOMPARE(set.dbName(), QStringLiteral("attendance"));
    QVERIFY(readFile(fx->iniPath).contains("DBLOGINPWD="));
}

void TestDialogs::db_writeFailureIsReported() {
    blockConfiguration();
    frmConDbParaSet dlg;
    dlg.show();
    type(&dlg, "txtServer", QStringLiteral("srv"));
    type(&dlg, "txtLoginName", QStringLiteral("sa"));
    type(&dlg, "txtPwd", QStringLiteral("pw"));
    type(&dlg, "txtDbName", QStringLiteral("db"));
    click(&dlg, "cmbSet");
    const QString failed = box("错误", "保存数据库连接信息失败！", MsgBox::Icon::Critical);
    QCOMPARE(boxes.lines(), failed);
    QVERIFY(dlg.isVisible());

    click(&dlg, "cmdCancel");
    QVERIFY(dlg.isHidden());
    QCOMPARE(boxes.lines(), failed);
}

// The test opens "vorerur.mdb" in the program directory; the fields play no part.
void TestDialogs::db_testConnection_data() {
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QByteArray() << "数据库连接失败！";
    QTest::newRow("database") << QByteArray("") << "数据库连接成功！";
    QTest::newRow("not a database") << QByteArray(4096, 'x') << "数据库连接失败！";
}

void TestDialogs::db_testConnection() {
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    const QString mdb = fx->file(QStringLiteral("vorerur.mdb"));
    if (!file.isNull())
        QVERIFY(file.isEmpty() ? DatabaseSchema::Create(mdb) : writeFile(mdb, file));
    const QStringList before = QSqlDatabase::connectionNames();
    frmConDbParaSet dlg;
    dlg.show();
    type(&dlg, "txtServer", QString());
    click(&dlg, "cmdTest");
    QCOMPARE(boxes.lines(), box("信息", message, MsgBox::Icon::Information));
    QVERIFY(dlg.isVisible());
    QCOMPARE(QFile::exists(mdb), !file.isNull()); // the test never creates the file
    // The test connection is closed and gone afterwards.
    QCOMPARE(QSqlDatabase::connectionNames(), before);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
