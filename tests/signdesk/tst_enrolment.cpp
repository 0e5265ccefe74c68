// Employee enrolment with the still-picture camera: the new-employee file
// and its photo, the states of the window, the checks, the temporary files.
#include "AppClock.h"
#include "BoxLog.h"
#include "CameraSource.h"
#include "DesktopKit.h"
#include "DialogAnswers.h"
#include "ExchangeFiles.h"
#include "PhotoEncoding.h"
#include "ProgramDirectory.h"
#include "StationGlobals.h"
#include "TestProgramDir.h"
#include "frmEmployeeMange.h"
#include "frmMain.h"

#include <QCameraDevice>
#include <QMediaDevices>
#include <QScopeGuard>
#include <QtTest>
#include <QtWidgets>

namespace {

const QDateTime kNow(QDate(2026, 3, 18), QTime(9, 30, 5));
const QString kSaved = box("信息", "员工信息已成功保存!", MsgBox::Icon::Information);
const QString kFailed = box("警告", "员工信息保存失败!");
const QString kNoCamera = box("警告", "没有发现摄像头,不能追加员工信息!");
const QString kNoName = box("提示", "请输入姓名！");
const QString kNoPost = box("提示", "请选择岗位！");

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class tst_enrolment : public QObject {
    Q_OBJECT

    QTemporaryDir m_work; // pictures, saved files, settings store
    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;
    std::unique_ptr<DialogAnswers> dialogs;
    QString m_picture;

    std::unique_ptr<frmEmployeeMange> open(const QString& camera) {
        qputenv("SIGNDESK_CAMERA", camera.toLocal8Bit());
        return std::make_unique<frmEmployeeMange>();
    }
    // Types the name, picks the post and clicks 导出, the file dialog answering
    // `file` (null: cancelled).
    void save(frmEmployeeMange* w, const QString& name, const QString& file,
              const QString& post = QString()) {
        boxes.clear();
        dialogs.reset(); // answers left unused by an earlier save go with it
        dialogs = std::make_unique<DialogAnswers>();
        file.isNull() ? dialogs->cancel() : dialogs->path(file);
        child<QLineEdit>(w, "txtName")->setText(name);
        if (!post.isNull())
            child<QComboBox>(w, "cbKind")->setCurrentText(post);
        QTest::mouseClick(child<QPushButton>(w, "cmdAppend"), Qt::LeftButton);
    }
    // Neither temporary file in the program directory nor in the window's own folder.
    bool noTemporaryFiles(frmEmployeeMange* w) {
        for (const QString& dir : {ProgramDirectory(), w->TempFolder()})
            for (const char* name : {"tmp.bmp", "tmp.jpg"})
                if (QFileInfo(JoinPath(dir, QLatin1String(name))).isFile())
                    return false;
        return true;
    }
    bool inputEnabled(frmEmployeeMange* w) {
        return child<QLineEdit>(w, "txtName")->isEnabled() &&
               child<QComboBox>(w, "cbKind")->isEnabled() &&
               child<QTimer>(w, "TimerDspTime")->isActive();
    }

private slots:
    void initTestCase() {
        DesktopKit::SetProgramTitle(Station::ProgramTitle());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_work.path());
        // A frame whose corners differ, so a turned or cropped photo shows.
        QImage frame(321, 243, QImage::Format_RGB32);
        frame.fill(QColor(40, 120, 200));
        QPainter(&frame).fillRect(0, 0, 40, 40, Qt::red);
        m_picture = m_work.filePath("face.png");
        QVERIFY(frame.save(m_picture));
    }
    void init() {
        AppClock::setFixed(kNow);
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, QStringLiteral("办公室")) &&
                fx->addDept(2, QStringLiteral("教务处")));
    }
    void cleanup() {
        dialogs.reset();
        fx.reset();
        qunsetenv("SIGNDESK_CAMERA");
    }

    // The file read back as the office program reads it; the database and
    // the program directory keep what they had; Saved until 新增.
    void saveWritesNewEmployeeFile() {
        auto w = open(m_picture);
        QCOMPARE(child<QComboBox>(w.get(), "cbKind")->currentText(), QStringLiteral("办公室"));
        QCOMPARE(child<QLabel>(w.get(), "lblEnterTime")->text(),
                 QStringLiteral("2026-3-18 9:30:05"));
        AppClock::advance(2000);
        QVERIFY(QMetaObject::invokeMethod(w.get(), "TimerDspTime_Timer"));
        const QByteArray database = readFile(fx->dbPath);
        const QStringList before = entries(fx->path());
        fx->writeFile(QStringLiteral("tmp.jpg"), "left over from an earlier run");

        const QString target = m_work.filePath("李雷.xml");
        save(w.get(), QStringLiteral("  李雷 "), target, QStringLiteral("教务处"));
        QCOMPARE(boxes.lines(), kSaved);
        QCOMPARE(child<QLineEdit>(w.get(), "txtName")->text(), QStringLiteral("李雷"));
        QCOMPARE(dialogs->files.size(), 1);
        QCOMPARE(dialogs->files[0].kind, FileDialog::Kind::Save);
        QCOMPARE(dialogs->files[0].start, JoinPath(fx->path(), QStringLiteral("李雷.xml")));
        QVERIFY(dialogs->files[0].filter.contains(QLatin1String("*.xml")));

        ExchangeFiles::NewEmployee e;
        QString error;
        QVERIFY2(ExchangeFiles::ReadNewEmployee(target, &e, &error), qPrintable(error));
        QCOMPARE(e.ENAME, QStringLiteral("李雷"));
        QCOMPARE(e.DID, qint16(2));
        QCOMPARE(e.ENTERDATE, kNow.addSecs(2));
        // The frame's own JPEG, at the frame's size.
        QVERIFY(e.HEADIMG.startsWith("\xFF\xD8\xFF\xE0") && e.HEADIMG.mid(6, 4) == "JFIF");
        const QImage photo = QImage::fromData(e.HEADIMG, "JPG");
        QCOMPARE(photo.size(), QSize(321, 243));
        QVERIFY(photo.pixelColor(0, 0).red() > 150 && photo.pixelColor(320, 242).blue() > 150);
        const QString frameBitmap = m_work.filePath("frame.bmp");
        QVERIFY(w->camera()->saveFrame(frameBitmap));
        QCOMPARE(e.HEADIMG, EncodePhoto(frameBitmap));

        QCOMPARE(readFile(fx->dbPath), database);
        QCOMPARE(fx->count("SELECT COUNT(*) FROM Employee"), 0);
        QCOMPARE(entries(fx->path()), before);
        QVERIFY(noTemporaryFiles(w.get()));

        // Saved: input and clock stopped, picture frozen; 新增 makes it Ready again.
        QVERIFY(!child<QLineEdit>(w.get(), "txtName")->isEnabled());
        QVERIFY(!child<QComboBox>(w.get(), "cbKind")->isEnabled());
        QVERIFY(!child<QTimer>(w.get(), "TimerDspTime")->isActive());
        QVERIFY(!w->camera()->preview());
        QTest::mouseClick(child<QPushButton>(w.get(), "cmdAddNew"), Qt::LeftButton);
        QVERIFY(inputEnabled(w.get()) && w->camera()->preview());
        QVERIFY(child<QLineEdit>(w.get(), "txtName")->text().isEmpty());
    }

    // Cancel: Ready with the live picture. Failures: the message, input kept,
    // picture frozen. No temporary file after any of them, no file written.
    void cancelAndFailures() {
        auto w = open(m_picture);
        const QStringList before = entries(fx->path());
        save(w.get(), QStringLiteral("韩梅梅"), QString());
        QVERIFY(boxes.isEmpty());
        QCOMPARE(dialogs->files.size(), 1);
        QVERIFY(inputEnabled(w.get()) && w->camera()->preview());
        QVERIFY(noTemporaryFiles(w.get()));

        save(w.get(), QStringLiteral("韩梅梅"), m_work.filePath("no/such/folder/x.xml"));
        QCOMPARE(boxes.lines(), kFailed);
        QVERIFY(inputEnabled(w.get()) && !w->camera()->preview());
        QVERIFY(noTemporaryFiles(w.get()));

        // A post that is gone meanwhile: no department key, nothing written.
        QVERIFY(fx->exec(QStringLiteral("DELETE FROM Dept WHERE ID = 1")));
        const QString target = m_work.filePath("韩梅梅.xml");
        save(w.get(), QStringLiteral("韩梅梅"), target, QStringLiteral("办公室"));
        QCOMPARE(boxes.lines(), kFailed);
        QVERIFY(!QFile::exists(target));
        QVERIFY(noTemporaryFiles(w.get()));
        QCOMPARE(entries(fx->path()), before);
    }

    // Name and post are both checked (name trimmed) before the camera.
    void checksNameAndPost() {
        auto w = open(m_work.filePath("missing.png"));
        save(w.get(), QStringLiteral("   "), m_work.filePath("x.xml"));
        QCOMPARE(boxes.lines(), kNoName);
        QVERIFY(child<QLineEdit>(w.get(), "txtName")->text().isEmpty());

        QVERIFY(fx->exec(QStringLiteral("DELETE FROM Dept")));
        auto none = open(m_picture);
        QCOMPARE(child<QComboBox>(none.get(), "cbKind")->count(), 0);
        save(none.get(), QString(), m_work.filePath("x.xml"));
        QCOMPARE(boxes.lines(), kNoName + kNoPost);
        save(none.get(), QStringLiteral("李雷"), m_work.filePath("x.xml"));
        QCOMPARE(boxes.lines(), kNoPost);
        QVERIFY(dialogs->files.isEmpty() && !QFile::exists(m_work.filePath("x.xml")));
    }

    // A still camera without its picture, and no camera at all.
    void noCamera() {
        const QStringList before = entries(fx->path());
        auto w = open(m_work.filePath("missing.png"));
        save(w.get(), QStringLiteral("李雷"), m_work.filePath("x.xml"));
        QCOMPARE(boxes.lines(), kNoCamera);
        QVERIFY(dialogs->files.isEmpty());
        QCOMPARE(entries(fx->path()), before);

        if (!QMediaDevices::videoInputs().isEmpty())
            QSKIP("this machine has a video input");
        w.reset();
        qunsetenv("SIGNDESK_CAMERA");
        frmEmployeeMange real;
        save(&real, QStringLiteral("李雷"), m_work.filePath("x.xml"));
        QCOMPARE(boxes.lines(), kNoCamera);
        QCOMPARE(entries(fx->path()), before);
    }

    // A station installed read-only (configuration beside the programs, the
    // database elsewhere): the temporary files go to a private folder. Root
    // writes into a read-only folder anyway, so a folder named "tmp.bmp"
    // also keeps the bitmap out.
    void readOnlyProgramDirectory() {
        const QString station = m_work.filePath("station");
        QVERIFY(QDir().mkpath(station + "/tmp.bmp"));
        QVERIFY(QFile::copy(fx->iniPath, station + "/attendance.ini"));
        SetProgramDirectory(station);
        QVERIFY(QFile::setPermissions(station, QFile::ReadOwner | QFile::ExeOwner |
                                                   QFile::ReadGroup | QFile::ExeGroup));
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(station, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        const QStringList before = entries(station);
        auto w = open(m_picture);
        QVERIFY(w->TempFolder() != station && !w->TempFolder().isEmpty());
        const QString target = m_work.filePath("王五.xml");
        save(w.get(), QStringLiteral("王五"), target);
        QCOMPARE(boxes.lines(), kSaved);
        ExchangeFiles::NewEmployee e;
        QString error;
        QVERIFY2(ExchangeFiles::ReadNewEmployee(target, &e, &error), qPrintable(error));
        QCOMPARE(QImage::fromData(e.HEADIMG, "JPG").size(), QSize(321, 243));
        QCOMPARE(entries(station), before);
        QVERIFY(noTemporaryFiles(w.get()));
    }

    // The administrator's menu entry opens the window modally.
    void menuOpensWindow() {
        frmMain main;
        main.findChild<QTimer*>(QStringLiteral("Timer_DspSign"))->stop();
        qputenv("SIGNDESK_CAMERA", m_picture.toLocal8Bit());
        bool opened = false;
        OnNextModal([&](QWidget* dialog) {
            opened = qobject_cast<frmEmployeeMange*>(dialog) && dialog->isModal() &&
                     dialog->windowTitle() == QStringLiteral("员工信息录入");
            dialog->close();
        });
        QAction* entry = main.findChild<QAction*>(QStringLiteral("mnuInputNewEmp"));
        entry->setEnabled(true); // as after an administrator login
        entry->trigger();
        QVERIFY(opened);
    }
};

QTEST_MAIN(tst_enrolment)
#include "tst_enrolment.moc"
