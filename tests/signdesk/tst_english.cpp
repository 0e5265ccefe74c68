// Every window of the station in English: each text fits its room, measured
// with the control's font, and no Chinese is left but the records' own texts.
// The Chinese windows keep their sizes: an English text that does not fit
// needs a shorter wording, never a wider control.
#include "platform/ChineseUi.h"
#include "platform/DesktopKit.h"
#include "platform/MsgBox.h"
#include "platform/frmAbout.h"
#include "shared/base/AppClock.h"
#include "shared/config/PasswordModule.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/db/DbSession.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frimImportExport.h"
#include "signdesk/frmChgPwd.h"
#include "signdesk/frmConDbParaSet.h"
#include "signdesk/frmEmployeeMange.h"
#include "signdesk/frmEmployeeMonthExport.h"
#include "signdesk/frmEmployeeMonthReport.h"
#include "signdesk/frmLogin.h"
#include "signdesk/frmMain.h"
#include "signdesk/frmScanTest.h"
#include "signdesk/frmSetSchoolName.h"
#include "signdesk/frmSign.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/EnglishLayout.h"
#include "tests/common/TestProgramDir.h"
#include "texts/Translation.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QDateTime kNow(QDate(2026, 3, 18), QTime(9, 30, 0));

} // namespace

class tst_english : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    std::unique_ptr<TestProgramDir> fx;
    std::unique_ptr<EnglishScope> english;
    QStringList data; // the records' texts the windows show

    // Shows `w`, lets it lay out and reports what does not fit or is Chinese.
    QString problems(QWidget* w) {
        w->show();
        QCoreApplication::processEvents();
        return EnglishLayoutProblems(w, data).join(QLatin1Char('\n'));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_work.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_work.path());
    }

    void init() {
        AppClock::setFixed(kNow);
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        english = std::make_unique<EnglishScope>();
        QVERIFY(english->Installed());
        DesktopKit::SetProgramTitle(Station::ProgramTitle());
        data = QStringList{clsSchoolArea().SNAME()};
    }

    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->hide();
        english.reset();
        fx.reset();
        AppClock::reset();
    }

    // The helper itself: a Chinese text left, a text wider than its label, a
    // column caption wider than its section, a menu bar too narrow for its
    // menus are each named; what fits passes.
    void helperFindsWhatDoesNotFit() {
        QMainWindow w;
        w.setWindowTitle(QStringLiteral("Sign-in"));
        auto* central = new QWidget(&w);
        w.setCentralWidget(central);
        auto* fits = new QLabel(QStringLiteral("Name"), central);
        fits->setObjectName(QStringLiteral("fits"));
        fits->setGeometry(0, 0, 200, 30);
        auto* narrow = new QLabel(QStringLiteral("A rather long English caption"), central);
        narrow->setObjectName(QStringLiteral("narrow"));
        narrow->setGeometry(0, 40, 40, 30);
        auto* chinese = new QPushButton(QStringLiteral("确定"), central);
        chinese->setObjectName(QStringLiteral("chinese"));
        chinese->setGeometry(0, 80, 120, 30);
        auto* table = new QTableWidget(0, 1, central);
        table->setObjectName(QStringLiteral("table"));
        table->setGeometry(0, 120, 300, 100);
        table->setHorizontalHeaderLabels({QStringLiteral("Departure time of the day")});
        table->horizontalHeader()->resizeSection(0, 40);
        w.resize(300, 260);
        w.show();
        QCoreApplication::processEvents();
        QStringList found = EnglishLayoutProblems(&w);
        const QString all = found.join('\n'); // the Chinese button is not also too narrow
        QVERIFY2(found.size() == 3 && all.contains("narrow (QLabel)") &&
                     all.contains("chinese (QPushButton): Chinese") && all.contains("column 0"),
                 qPrintable(all));
        // A record's own Chinese text is no fault; a button's room counts
        // without its frame and margins.
        QCOMPARE(EnglishLayoutProblems(&w, {"确定"}).size(), 2);
        narrow->resize(400, 30);
        chinese->setText(QStringLiteral("OK"));
        table->horizontalHeader()->resizeSection(0, 280);
        QCOMPARE(EnglishLayoutProblems(&w).join('\n'), QString());

        auto* bar = w.menuBar();
        for (const char* title : {"&File", "&Employees", "&Attendance", "&System", "&Help"})
            bar->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("退出"));
        QCoreApplication::processEvents();
        found = EnglishLayoutProblems(&w);
        QCOMPARE(found.filter("Chinese menu entry").size(), 5);
        QVERIFY(found.filter("does not fit").isEmpty());
        w.resize(120, 260);
        QCoreApplication::processEvents();
        QVERIFY(!EnglishLayoutProblems(&w).filter("does not fit").isEmpty());
    }

    // The main window with its menus, in both modes, and its list.
    void mainWindow() {
        QVERIFY(SavePassword(QStringLiteral("8888")));
        frmMain w;
        w.findChild<QTimer*>(QStringLiteral("Timer_DspSign"))->stop();
        QCOMPARE(problems(&w), QString());
        OnNextModal([](QWidget* dialog) {
            child<QLineEdit>(dialog, "txtPwd")->setText(QStringLiteral("8888"));
            child<QPushButton>(dialog, "btnLogin")->click();
        });
        child<QAction>(&w, "mnuMangeLogin")->trigger();
        QVERIFY(w.isManageMode());
        QCOMPARE(problems(&w), QString());
        QVERIFY(w.windowTitle().contains(QStringLiteral("Attendance")));
    }

    // The sign-in screen: idle, with the offline mark, greeting an arrival
    // and a departure, and refusing a third scan.
    void signScreen() {
        QVERIFY(fx->addDept(1, "教务处") && fx->addEmployee("E001", "张三", "123456789012345", 1));
        data << QStringLiteral("张三") << QStringLiteral("教务处");
        BoxLog boxes;
        frmSign w;
        QCOMPARE(problems(&w), QString());
        child<QLabel>(&w, "lblOffline")->show();
        QCOMPARE(problems(&w), QString());
        child<QLabel>(&w, "lblOffline")->hide();
        const auto scan = [&w] {
            QTest::keyClicks(&w, QStringLiteral("123456789012345"));
            QTest::keyClick(&w, Qt::Key_Return);
        };
        QLabel* welcome = child<QLabel>(&w, "lblWelcome");
        scan();
        QTRY_COMPARE(welcome->text(), QStringLiteral("Hello!\r\nRelax,\r\nbe happy"));
        QCOMPARE(problems(&w), QString());
        AppClock::advance(120 * 1000);
        scan();
        QTRY_COMPARE(welcome->text(), QStringLiteral("\r\nGoodbye!"));
        QCOMPARE(problems(&w), QString());
        AppClock::advance(120 * 1000);
        scan();
        QTRY_COMPARE(boxes.lines(), box("Warning", "You have signed out today already."));
    }

    // The dialogs, the exchange, the month windows and the enrolment with a
    // camera (a picture file).
    void smallWindows() {
        frimImportExport importer;
        importer.setImportMode(true);
        frmLogin login;
        frmChgPwd password;
        frmConDbParaSet database;
        frmSetSchoolName unit;
        frmScanTest scan;
        frmAbout about({QStringLiteral("About %1").arg(Station::ProgramTitle()),
                        Station::ProgramTitle(), 2, 0, 0, Station::HomePage()});
        frimImportExport exporter;
        frmEmployeeMonthExport monthExport;
        frmEmployeeMonthReport monthReport;
        const QString picture = m_work.filePath(QStringLiteral("face.png"));
        QVERIFY(QImage(320, 240, QImage::Format_RGB32).save(picture));
        qputenv("SIGNDESK_CAMERA", picture.toLocal8Bit());
        frmEmployeeMange enrolment;
        qunsetenv("SIGNDESK_CAMERA");
        for (QWidget* w : std::initializer_list<QWidget*>{&login, &password, &database, &unit,
                                                          &scan, &about, &exporter, &importer,
                                                          &monthExport, &monthReport, &enrolment})
            QCOMPARE(problems(w), QString());
    }

    // The desktop kit's messages in English, through the seam the tests use.
    void messages() {
        BoxLog boxes;
        DbSession none;
        DesktopKit::RunExchange(nullptr, none, DesktopKit::Exchange::Export, [] { return false; });
        QCOMPARE(boxes.lines(), box("Error", "The export failed."));
    }

    // Started with [OTHER] LANGUAGE=en, whatever the system says: the
    // programs' texts and a real message box's own buttons are English, and
    // so is the locale. Last: the catalogue stays installed.
    void startedInEnglish() {
        english.reset();
        QCOMPARE(Translation::Current().Language(), UiLanguage::Chinese);
        QVERIFY(fx->setIni("OTHER", "LANGUAGE", QStringLiteral("en")));
        ChineseUi::Setup(*qApp);
        QCOMPARE(Translation::Current().Language(), UiLanguage::English);
        QCOMPARE(QLocale().language(), QLocale::English);
        QCOMPARE(Station::ProgramTitle(), QStringLiteral("Sign-in Station"));
        QStringList seen;
        OnNextModal([&seen](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            QVERIFY(box);
            seen << box->windowTitle() << box->text();
            for (QAbstractButton* b : box->buttons())
                seen << b->text();
            box->buttons().constFirst()->click();
        });
        MsgBox::ShowMessage(nullptr, QCoreApplication::translate("DesktopKit", "数据导入完成！"),
                            QCoreApplication::translate("DesktopKit", "信息"),
                            MsgBox::Icon::Information, MsgBox::Buttons::YesNo);
        seen.sort();
        QCOMPARE(seen, (QStringList{"Information", "No", "The data have been imported.", "Yes"}));
    }
};

QTEST_MAIN(tst_english)
#include "tst_english.moc"
