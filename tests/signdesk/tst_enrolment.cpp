// Employee enrolment with the still-picture camera: the new-employee file,
// the window's states, the checks and the temporary files.
#include "devices/capture/CameraSource.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/exchange/ExchangeFiles.h"
#include "signdesk/frmEmployeeMange.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/TestProgramDir.h"

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
const QString kNoName = box("提示", "请输入姓名！"), kNoPost = box("提示", "请选择岗位！");

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}
} // namespace

class tst_enrolment : public QObject {
    Q_OBJECT

    QTemporaryDir m_work; // the camera's picture and the saved files
    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;
    std::unique_ptr<DialogAnswers> dialogs;
    QString m_picture;

    std::unique_ptr<frmEmployeeMange> open(const QString& camera) {
        qputenv("SIGNDESK_CAMERA", camera.toLocal8Bit());
        return std::make_unique<frmEmployeeMange>();
    }
    // Name, post, 导出; the file dialog answers `file` (null: cancel).
    void save(QWidget* w, const QString& name, const QString& file, const QString& post = {}) {
        boxes.clear();
        dialogs.reset(); // drops answers an earlier save left unused
        dialogs = std::make_unique<DialogAnswers>();
        file.isNull() ? dialogs->cancel() : dialogs->path(file);
        child<QLineEdit>(w, "txtName")->setText(name);
        if (!post.isNull())
            child<QComboBox>(w, "cbKind")->setCurrentText(post);
        QTest::mouseClick(child<QPushButton>(w, "cmdAppend"), Qt::LeftButton);
    }
    // Input and clock on, picture live; and no temporary file anywhere.
    static QString state(frmEmployeeMange* w) {
        QStringList s;
        s << (child<QLineEdit>(w, "txtName")->isEnabled() ? "name" : "");
        s << (child<QComboBox>(w, "cbKind")->isEnabled() ? "post" : "");
        s << (child<QTimer>(w, "TimerDspTime")->isActive() ? "clock" : "");
        s << (w->camera()->preview() ? "live" : "");
        for (const QString& dir : {ProgramDirectory(), w->TempFolder()})
            for (const char* name : {"tmp.bmp", "tmp.jpg"})
                if (QFileInfo(JoinPath(dir, QLatin1String(name))).isFile())
                    s << name;
        return s.join(' ').simplified();
    }

private slots:
    void initTestCase() {
        m_picture = m_work.filePath("face.png");
        QVERIFY(QImage(321, 243, QImage::Format_RGB32).save(m_picture));
    }
    void init() {
        AppClock::setFixed(kNow);
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, "办公室") && fx->addDept(2, "教务处"));
    }
    void cleanup() {
        dialogs.reset();
        fx.reset();
    }

    // Cancel: Ready again. A failure: input kept, picture frozen. A save,
    // read back as the office program reads it: database as it was, Saved
    // until 新增. A leftover tmp.jpg and every temporary file gone each time.
    void saveCancelAndFailures() {
        auto w = open(m_picture);
        QCOMPARE(child<QComboBox>(w.get(), "cbKind")->currentText(), QStringLiteral("办公室"));
        AppClock::advance(2000);
        QVERIFY(QMetaObject::invokeMethod(w.get(), "TimerDspTime_Timer"));
        QCOMPARE(child<QLabel>(w.get(), "lblEnterTime")->text(), "2026-3-18 9:30:07");
        const int employees = fx->rows("Employee");
        const QStringList before = entries(fx->path());
        fx->writeFile(QStringLiteral("tmp.jpg"), "left over from an earlier run");
        save(w.get(), QStringLiteral("  李雷 "), QString());
        QVERIFY(boxes.isEmpty());
        QCOMPARE(dialogs->files.value(0).start, JoinPath(fx->path(), QStringLiteral("李雷.xml")));
        QCOMPARE(state(w.get()), "name post clock live");
        save(w.get(), QStringLiteral("李雷"), m_work.filePath("no/such/x.xml"));
        QCOMPARE(boxes.lines(), kFailed);
        QCOMPARE(state(w.get()), "name post clock");

        const QString target = m_work.filePath("李雷.xml");
        save(w.get(), QStringLiteral("李雷"), target, QStringLiteral("教务处"));
        QCOMPARE(boxes.lines(), kSaved);
        ExchangeFiles::NewEmployee e;
        QVERIFY(ExchangeFiles::ReadNewEmployee(target, &e));
        QCOMPARE(e.ENAME + QString::number(e.DID), QStringLiteral("李雷2"));
        QCOMPARE(e.ENTERDATE, kNow.addSecs(2));
        QCOMPARE(QImage::fromData(e.HEADIMG, "JPG").size(), QSize(321, 243));
        QCOMPARE(fx->rows("Employee"), employees);
        QCOMPARE(state(w.get()), QString());
        QTest::mouseClick(child<QPushButton>(w.get(), "cmdAddNew"), Qt::LeftButton);
        QCOMPARE(state(w.get()), "name post clock live");
        QVERIFY(child<QLineEdit>(w.get(), "txtName")->text().isEmpty());

        // A post deleted meanwhile has no key: nothing written.
        QVERIFY(fx->exec(QStringLiteral("DELETE FROM Dept WHERE ID = 1")));
        save(w.get(), QStringLiteral("韩梅梅"), m_work.filePath("x.xml"), QStringLiteral("办公室"));
        QCOMPARE(boxes.lines(), kFailed);
        QCOMPARE(state(w.get()), "name post clock");
        QVERIFY(!QFile::exists(m_work.filePath("x.xml")));
        QCOMPARE(entries(fx->path()), before);
    }

    // Both checks run, before the camera's; a camera missing its picture,
    // and (where there is none) no video input, write nothing.
    void checksAndNoCamera() {
        auto w = open(m_work.filePath("missing.png"));
        for (const QLabel* l : w->findChildren<QLabel*>()) // no '&' shown without a buddy
            QVERIFY2(!l->text().contains(QLatin1Char('&')) || l->buddy(), qPrintable(l->text()));
        save(w.get(), QStringLiteral("   "), m_work.filePath("x.xml"));
        QCOMPARE(boxes.lines(), kNoName);
        QVERIFY(child<QLineEdit>(w.get(), "txtName")->text().isEmpty());
        save(w.get(), QStringLiteral("李雷"), m_work.filePath("x.xml"));
        QCOMPARE(boxes.lines(), kNoCamera);
        if (QMediaDevices::videoInputs().isEmpty()) {
            qunsetenv("SIGNDESK_CAMERA");
            frmEmployeeMange real;
            save(&real, QStringLiteral("李雷"), m_work.filePath("x.xml"));
            QCOMPARE(boxes.lines(), kNoCamera);
        }
        QVERIFY(dialogs->files.isEmpty() && !QFile::exists(m_work.filePath("x.xml")));

        QVERIFY(fx->exec(QStringLiteral("DELETE FROM Dept")));
        auto none = open(m_picture);
        save(none.get(), QString(), m_work.filePath("x.xml"));
        QCOMPARE(boxes.lines(), kNoName + kNoPost);
    }

    // A read-only station folder (the database elsewhere) enrols through a
    // private folder. Root writes into read-only folders anyway, so there a
    // folder named "tmp.bmp" keeps the bitmap out.
    void readOnlyProgramDirectory() {
        const QString station = m_work.filePath("station");
        QVERIFY(QDir().mkpath(station + "/tmp.bmp"));
        QVERIFY(QFile::copy(fx->iniPath, station + "/attendance.ini"));
        SetProgramDirectory(station);
        QVERIFY(QFile::setPermissions(station, QFile::ReadOwner | QFile::ExeOwner));
        const auto writable = qScopeGuard([&] {
            QFile::setPermissions(station, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        auto w = open(m_picture);
        save(w.get(), QStringLiteral("王五"), m_work.filePath("王五.xml"));
        QCOMPARE(boxes.lines(), kSaved);
        QCOMPARE(entries(station), QStringList({"attendance.ini", "tmp.bmp"}));
        QVERIFY(!w->TempFolder().isEmpty() && w->TempFolder() != station);
        QCOMPARE(state(w.get()), QString());
    }
};

QTEST_MAIN(tst_enrolment)
#include "tst_enrolment.moc"
