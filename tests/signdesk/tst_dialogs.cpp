// The station's small dialogs: login, password change, unit name and the
// database settings.
#include "MsgBox.h"
#include "PasswordModule.h"
#include "ProgramDirectory.h"
#include "clsConDbSet.h"
#include "clsConfiguration.h"
#include "clsSchoolArea.h"
#include "frmChgPwd.h"
#include "frmConDbParaSet.h"
#include "frmLogin.h"
#include "frmSetSchoolName.h"
#include "helpers/StationFixture.h"

#include <DatabaseSchema.h>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTimer>
#include <QtTest>

namespace {

template <typename T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("missing control %s", name);
    return c;
}

void type(QWidget* w, const char* field, const QString& text) {
    child<QLineEdit>(w, field)->setText(text);
}

void click(QWidget* w, const char* button) {
    QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
}

QString storedAlp(const StationFixture& fx) {
    clsConfiguration cfg;
    cfg.setFileName(fx.iniPath);
    cfg.setGroup(QStringLiteral("OTHER"));
    return cfg.GetItem(QStringLiteral("ALP"));
}

// The widget that Tab moves to from w.
QWidget* nextTabStop(QWidget* w) {
    for (QWidget* n = w->nextInFocusChain(); n != w; n = n->nextInFocusChain())
        if ((n->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && n->isEnabled())
            return n;
    return nullptr;
}

bool hasCloseBox(const QWidget& w) {
    return w.windowFlags().testFlag(Qt::WindowCloseButtonHint);
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void login_controls();
    void login_rightPasswordWithBlanks();
    void login_emptyOrBlankEntryStaysOpen();
    void login_wrongPasswordClosesQuietly();
    void login_noStoredPasswordNeverLogsIn();
    void login_cancelAndReuse();
    void login_enterPressesLogin();

    void chgpwd_controls();
    void chgpwd_wrongOldPassword();
    void chgpwd_newEntriesDiffer();
    void chgpwd_successStoresDigitForm();
    void chgpwd_emptyNewPassword();
    void chgpwd_writeFailureIsReported();

    void unit_showsCurrentName();
    void unit_emptyNameRefused();
    void unit_savedTrimmed();
    void unit_writeFailureIsReported();
    void unit_nameWithoutGbkCodeIsReported();

    void db_controls();
    void db_checkInputOrder();
    void db_blankPasswordPassesAndIsSaved();
    void db_writeFailureIsReported();
    void db_testConnectionMissingFile();
    void db_testConnectionExistingDatabase();
    void db_testConnectionNotADatabase();

private:
    // Points the program directory at a folder below a regular file, so no
    // configuration write can succeed, whoever runs the test.
    void blockConfiguration();

    std::unique_ptr<StationFixture> fx;
    QList<MsgBox::Shown> boxes;
};

void TestDialogs::init() {
    boxes.clear();
    MsgBox::SetHandler([this](const MsgBox::Shown& s) {
        boxes << s;
        return MsgBox::Result::Ok;
    });
    fx = std::make_unique<StationFixture>();
    QVERIFY2(fx->init(), qPrintable(fx->lastError));
}

void TestDialogs::cleanup() {
    fx.reset();
    MsgBox::ClearHandler();
}

void TestDialogs::blockConfiguration() {
    const QString blocker = fx->file(QStringLiteral("blocker"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    SetProgramDirectory(blocker + QStringLiteral("/station"));
}

// ---- login ---------------------------------------------------------------

void TestDialogs::login_controls() {
    frmLogin dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("管理登陆"));
    QVERIFY(!hasCloseBox(dlg));
    auto* pwd = child<QLineEdit>(&dlg, "txtPwd");
    QCOMPARE(pwd->echoMode(), QLineEdit::Password);
    QVERIFY(!pwd->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(child<QPushButton>(&dlg, "btnLogin")->isDefault());
    QCOMPARE(child<QPushButton>(&dlg, "btnLogin")->text(), QStringLiteral("登陆"));
    QCOMPARE(child<QPushButton>(&dlg, "btnCancle")->text(), QStringLiteral("放弃"));
    QVERIFY(!dlg.testAttribute(Qt::WA_DeleteOnClose));
}

void TestDialogs::login_rightPasswordWithBlanks() {
    QVERIFY(SavePassword(QStringLiteral("ab12")));
    frmLogin dlg;
    dlg.show();
    type(&dlg, "txtPwd", QStringLiteral("  ab12 "));
    click(&dlg, "btnLogin");
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
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("请输入密码！"));
        QCOMPARE(boxes[0].title, QStringLiteral("警告"));
        QCOMPARE(boxes[0].icon, MsgBox::Icon::Exclamation);
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

void TestDialogs::login_noStoredPasswordNeverLogsIn() {
    QVERIFY(GetStoredPassword().isEmpty());
    frmLogin dlg;
    dlg.show();
    type(&dlg, "txtPwd", QStringLiteral("x"));
    click(&dlg, "btnLogin");
    QVERIFY(!dlg.LoginOK());
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

void TestDialogs::login_enterPressesLogin() {
    QVERIFY(SavePassword(QStringLiteral("ab12")));
    frmLogin dlg;
    dlg.show();
    auto* pwd = child<QLineEdit>(&dlg, "txtPwd");
    pwd->setFocus();
    QTest::keyClicks(pwd, QStringLiteral("ab12"));
    QTest::keyClick(pwd, Qt::Key_Return);
    QVERIFY(dlg.LoginOK());
    QVERIFY(dlg.isHidden());
}

// ---- password change -----------------------------------------------------

void TestDialogs::chgpwd_controls() {
    frmChgPwd dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("修改密码"));
    QVERIFY(!hasCloseBox(dlg));
    const char* fields[] = {"txtOldPwd", "txtNewPWD1", "txtNewPWD2"};
    for (const char* name : fields) {
        auto* f = child<QLineEdit>(&dlg, name);
        QCOMPARE(f->echoMode(), QLineEdit::Password);
        QVERIFY(!f->testAttribute(Qt::WA_InputMethodEnabled));
    }
    // Tab order: old, new, repeated.
    QCOMPARE(nextTabStop(child<QWidget>(&dlg, "txtOldPwd")), child<QWidget>(&dlg, "txtNewPWD1"));
    QCOMPARE(nextTabStop(child<QWidget>(&dlg, "txtNewPWD1")), child<QWidget>(&dlg, "txtNewPWD2"));
}

void TestDialogs::chgpwd_wrongOldPassword() {
    QVERIFY(SavePassword(QStringLiteral("old1")));
    const QString before = storedAlp(*fx);
    frmChgPwd dlg;
    dlg.show();
    type(&dlg, "txtOldPwd", QStringLiteral("old12"));
    type(&dlg, "txtNewPWD1", QStringLiteral("n"));
    type(&dlg, "txtNewPWD2", QStringLiteral("n"));
    click(&dlg, "btnOK");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("原密码错误！"));
    QCOMPARE(boxes[0].title, QStringLiteral("警告"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Exclamation);
    QVERIFY(dlg.isVisible());
    QCOMPARE(child<QLineEdit>(&dlg, "txtOldPwd")->text(), QStringLiteral("old12"));
    QCOMPARE(storedAlp(*fx), before);
}

void TestDialogs::chgpwd_newEntriesDiffer() {
    QVERIFY(SavePassword(QStringLiteral("old1")));
    const QString before = storedAlp(*fx);
    frmChgPwd dlg;
    dlg.show();
    type(&dlg, "txtOldPwd", QStringLiteral("old1"));
    type(&dlg, "txtNewPWD1", QStringLiteral("new1"));
    type(&dlg, "txtNewPWD2", QStringLiteral("new2x"));
    click(&dlg, "btnOK");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("输入的两次新密码不一致！"));
    QCOMPARE(boxes[0].title, QStringLiteral("警告"));
    QVERIFY(dlg.isVisible());
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
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("新密码已成功设定！"));
    QCOMPARE(boxes[0].title, QStringLiteral("消息"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Information);
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
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("新密码已成功设定！"));
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
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("保存新密码失败，原密码仍然有效！"));
    QCOMPARE(boxes[0].title, QStringLiteral("错误"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Exclamation);
    QVERIFY(dlg.isVisible());
    QVERIFY(!CheckPassword(QStringLiteral("abc")));

    // Cancel afterwards closes without writing.
    click(&dlg, "btnCancel");
    QVERIFY(dlg.isHidden());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(boxes.size(), 1);
}

// ---- unit name -----------------------------------------------------------

void TestDialogs::unit_showsCurrentName() {
    frmSetSchoolName dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("设定使用单位名称"));
    QVERIFY(hasCloseBox(dlg));
    QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(child<QLineEdit>(&dlg, "txtUnitName")->text(), QStringLiteral("实验中学"));
    QCOMPARE(child<QPushButton>(&dlg, "cmdSave")->text(), QStringLiteral("设定"));
}

void TestDialogs::unit_emptyNameRefused() {
    frmSetSchoolName dlg;
    dlg.show();
    type(&dlg, "txtUnitName", QStringLiteral("   "));
    click(&dlg, "cmdSave");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("请输入使用单位名称！"));
    QCOMPARE(boxes[0].title, QStringLiteral("警告"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Exclamation);
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

void TestDialogs::unit_writeFailureIsReported() {
    blockConfiguration();
    frmSetSchoolName dlg;
    dlg.show();
    QVERIFY(child<QLineEdit>(&dlg, "txtUnitName")->text().isEmpty());
    type(&dlg, "txtUnitName", QStringLiteral("第二中学"));
    click(&dlg, "cmdSave");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("设定使用单位名称失败！"));
    QCOMPARE(boxes[0].title, QStringLiteral("签到系统"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Exclamation);
    QVERIFY(dlg.isVisible());
}

void TestDialogs::unit_nameWithoutGbkCodeIsReported() {
    // The configuration file is GBK: a name it cannot hold is not saved.
    frmSetSchoolName dlg;
    dlg.show();
    type(&dlg, "txtUnitName", QStringLiteral("单位\U0001F600"));
    click(&dlg, "cmdSave");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("设定使用单位名称失败！"));
    QVERIFY(dlg.isVisible());
    QCOMPARE(clsSchoolArea().SNAME(), QStringLiteral("实验中学"));
}

// ---- database settings ---------------------------------------------------

void TestDialogs::db_controls() {
    QVERIFY(fx->setIni("ATTENDANCE", "DBSERVER", QStringLiteral("srv1")));
    QVERIFY(fx->setIni("ATTENDANCE", "DBLOGINNAME", QStringLiteral("sa")));
    QVERIFY(fx->setIni("ATTENDANCE", "DBLOGINPWD", QStringLiteral("secret")));
    QVERIFY(fx->setIni("ATTENDANCE", "DBNAME", QStringLiteral("kq")));
    frmConDbParaSet dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("数据库连接参数设定"));
    QVERIFY(!hasCloseBox(dlg));
    QCOMPARE(child<QLineEdit>(&dlg, "txtServer")->text(), QStringLiteral("srv1"));
    QCOMPARE(child<QLineEdit>(&dlg, "txtLoginName")->text(), QStringLiteral("sa"));
    QCOMPARE(child<QLineEdit>(&dlg, "txtPwd")->text(), QStringLiteral("secret"));
    QCOMPARE(child<QLineEdit>(&dlg, "txtDbName")->text(), QStringLiteral("kq"));
    auto* pwd = child<QLineEdit>(&dlg, "txtPwd");
    QCOMPARE(pwd->echoMode(), QLineEdit::Password);
    QVERIFY(!pwd->testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(child<QPushButton>(&dlg, "cmdTest")->toolTip(),
             QStringLiteral("测试当前设定的数据库连接参数是否有效"));
    QCOMPARE(child<QLineEdit>(&dlg, "txtServer")->toolTip(),
             QStringLiteral("数据库服务器IP或名称"));
    const char* order[] = {"txtServer", "txtLoginName", "txtPwd",   "txtDbName",
                           "cmdTest",   "cmbSet",       "cmdCancel"};
    for (int i = 0; i + 1 < 7; ++i)
        QCOMPARE(nextTabStop(child<QWidget>(&dlg, order[i])), child<QWidget>(&dlg, order[i + 1]));
}

void TestDialogs::db_checkInputOrder() {
    const QByteArray iniBefore = [&] {
        QFile f(fx->iniPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
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
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, s.message);
        QCOMPARE(boxes[0].title, QStringLiteral("提示"));
        QCOMPARE(boxes[0].icon, MsgBox::Icon::Exclamation);
        QVERIFY(dlg.isVisible());
    }
    QFile f(fx->iniPath);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), iniBefore);
}

void TestDialogs::db_blankPasswordPassesAndIsSaved() {
    frmConDbParaSet dlg;
    dlg.show();
    type(&dlg, "txtServer", QStringLiteral(" 192.168.0.5 "));
    type(&dlg, "txtLoginName", QStringLiteral(" sa "));
    type(&dlg, "txtPwd", QStringLiteral("   "));
    type(&dlg, "txtDbName", QStringLiteral(" attendance "));
    click(&dlg, "cmbSet");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("数据库连接参数已被成功保存！"));
    QCOMPARE(boxes[0].title, QStringLiteral("信息"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Information);
    QVERIFY(dlg.isHidden());
    const clsConDbSet set;
    QCOMPARE(set.Server(), QStringLiteral("192.168.0.5"));
    QCOMPARE(set.LoginName(), QStringLiteral("sa"));
    QCOMPARE(set.dbName(), QStringLiteral("attendance"));
    QFile f(fx->iniPath);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("DBLOGINPWD="));
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
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("保存数据库连接信息失败！"));
    QCOMPARE(boxes[0].title, QStringLiteral("错误"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Critical);
    QVERIFY(dlg.isVisible());

    click(&dlg, "cmdCancel");
    QVERIFY(dlg.isHidden());
    QCOMPARE(boxes.size(), 1);
}

void TestDialogs::db_testConnectionMissingFile() {
    const QString mdb = fx->file(QStringLiteral("vorerur.mdb"));
    frmConDbParaSet dlg;
    dlg.show();
    click(&dlg, "cmdTest");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("数据库连接失败！"));
    QCOMPARE(boxes[0].title, QStringLiteral("信息"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Information);
    QVERIFY(!QFile::exists(mdb)); // the test never creates the file
    QVERIFY(dlg.isVisible());
}

void TestDialogs::db_testConnectionExistingDatabase() {
    QVERIFY(DatabaseSchema::Create(fx->file(QStringLiteral("vorerur.mdb"))));
    const QStringList before = QSqlDatabase::connectionNames();
    frmConDbParaSet dlg;
    dlg.show();
    // The fields play no part in the test.
    type(&dlg, "txtServer", QString());
    click(&dlg, "cmdTest");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("数据库连接成功！"));
    QCOMPARE(boxes[0].title, QStringLiteral("信息"));
    QCOMPARE(boxes[0].icon, MsgBox::Icon::Information);
    // The test connection is closed and gone afterwards.
    QCOMPARE(QSqlDatabase::connectionNames(), before);
}

void TestDialogs::db_testConnectionNotADatabase() {
    QFile f(fx->file(QStringLiteral("vorerur.mdb")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    frmConDbParaSet dlg;
    dlg.show();
    click(&dlg, "cmdTest");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, QStringLiteral("数据库连接失败！"));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
