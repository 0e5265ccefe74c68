// Batch entry of new-employee files: stepping through the files, the checks
// in their order, the save with a fresh barcode, the temporary photo.
#include "tests/common/BoxLog.h"
#include "tests/common/TestProgramDir.h"
#include "tests/manage/helpers/ManageFixture.h"

#include "manage/frimEmpImport.h"
#include "session/MainSession.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/clsEmployee.h"

#include <QtTest>
#include <QtWidgets>

class tst_EmpImport : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;

    // A new-employee file as the station's enrolment writes it.
    QString newEmployeeFile(const QString& name, const QString& ename, int did,
                            const QDateTime& entered, int photoSeed) {
        clsEmployee e(fx->session());
        e.setENAME(ename);
        e.setdid(qint16(did));
        e.setENTERDATE(entered);
        e.setHeadImg(fx->writeFile(name + QStringLiteral(".jpg"), TestProgramDir::jpeg(photoSeed)));
        const QString path = fx->file(name);
        return e.savetoXML(path) ? path : QString();
    }

    QLineEdit* field(QWidget* w, const char* name) { return child<QLineEdit>(w, name); }
    void save(QWidget* w) { child<QPushButton>(w, "btnSave")->click(); }

private slots:
    void init() {
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(SeedOffice(*fx, {"1001"}));
        boxes.clear();
    }
    void cleanup() { fx.reset(); }

    void stepsThroughTheFilesOnce() {
        const QDateTime day(QDate(2026, 3, 2), QTime(0, 0));
        const QStringList files{newEmployeeFile("a.xml", "张三", 2, day, 1),
                                newEmployeeFile("b.xml", "李四", 3, day.addSecs(30605), 2),
                                newEmployeeFile("c.xml", "王五", 9, day, 3),
                                fx->writeFile("junk.xml", "not a row set"),
                                fx->file("missing.xml"),
                                fx->file("exported.xml")};
        QVERIFY(ExchangeFiles::ExportEmployees(MainSession::Get(), files.last(), {"1001"},
                                               ExchangeFiles::Existing::Refuse));
        frimEmpImport d;
        d.SetFileList(files);
        d.show();
        auto* label = child<QLabel>(&d, "lblProcess");
        auto* next = child<QPushButton>(&d, "btnNext");
        auto* dept = child<QComboBox>(&d, "cbDept");
        QCOMPARE(label->text(), QStringLiteral("1/6"));
        QCOMPARE(dept->count(), 3);
        QCOMPARE(dept->currentText(), QStringLiteral("教务处"));
        QCOMPARE(field(&d, "txtName")->text(), QStringLiteral("张三"));
        QCOMPARE(field(&d, "txtInputDate")->text(), QStringLiteral("2026-3-2"));
        QCOMPARE(readFile(d.PhotoPath()), TestProgramDir::jpeg(1));
        QCOMPARE(d.PhotoPath(), fx->file("temp.jpg"));
        // The 4:3 photo fills the box's width, its shape kept.
        const QSize photo = child<QLabel>(&d, "imgHeader")->pixmap().size();
        QVERIFY(photo.width() >= 110 && qAbs(photo.width() * 3 - photo.height() * 4) <= 4);

        field(&d, "txtEmpNum")->setText("x");
        next->click();
        QCOMPARE(label->text(), QStringLiteral("2/6"));
        QCOMPARE(field(&d, "txtEmpNum")->text(), QString());
        QCOMPARE(field(&d, "txtInputDate")->text(), QStringLiteral("2026-3-2 8:30:05"));
        QCOMPARE(dept->currentText(), QStringLiteral("后勤部"));
        next->click();
        QCOMPARE(label->text(), QStringLiteral("3/6"));
        QCOMPARE(child<QProgressBar>(&d, "pbWorking")->value(), 3);
        QCOMPARE(dept->currentText(), QStringLiteral("后勤部")); // key 9 unknown: kept
        QCOMPARE(readFile(d.PhotoPath()), TestProgramDir::jpeg(3));
        // A damaged, a missing and an exported employee file are named and
        // refused; nothing of the previous file stays to be saved.
        field(&d, "txtEmpNum")->setText("7");
        for (int i = 0; i < 3; ++i)
            next->click();
        QCOMPARE(label->text(), QStringLiteral("6/6"));
        QCOMPARE(field(&d, "txtName")->text() + field(&d, "txtEmpNum")->text(), QString());
        QVERIFY(child<QLabel>(&d, "imgHeader")->pixmap().isNull() &&
                !QFile::exists(d.PhotoPath()) && !child<QPushButton>(&d, "btnSave")->isEnabled() &&
                !next->isEnabled());
        const auto refused = [&](const QString& file, const char* why) {
            return box("警告", QStringLiteral("不能导入文件“%1”：\n").arg(fx->file(file)) +
                                   QString::fromUtf8(why));
        };
        QCOMPARE(boxes.lines(),
                 refused("junk.xml", "文件已损坏，或不是员工信息文件。") +
                     refused("missing.xml", "文件不存在。") +
                     refused("exported.xml", "这是导出的员工信息文件，其中的员工已有编号和条码。"));

        d.reject(); // the close box
        QVERIFY(!QFile::exists(fx->file("temp.jpg")));
    }

    void checksInTheirOrder() {
        const QString file =
            newEmployeeFile("a.xml", "张三", 1, QDateTime(QDate(2026, 3, 2), QTime(0, 0)), 1);
        frimEmpImport d;
        d.SetFileList({file});
        d.show();
        // Name, date, number, photo present, the warning.
        const std::tuple<const char*, const char*, const char*, bool, const char*> steps[] = {
            {" ", "2026-3-2", "2001", true, "请输入员工姓名！"},
            {"张三", " ", "", false, "请输入员工信息录入日期！"},
            {"张三", "2026-13-40", "", false, "录入日期不正确，请输入正确的日期！"},
            {"张三", "2026/3/2", "", false, "员工头像不存在！"},
            {"张三", "2026/3/2", " ", true, "请输入员工编号！"},
            {"张三", "2026/3/2", " 1001 ", true, "员工编号已存在，请使用未使用的员工编号！"},
        };
        for (const auto& [name, date, number, photo, message] : steps) {
            field(&d, "txtName")->setText(QString::fromUtf8(name));
            field(&d, "txtInputDate")->setText(QLatin1String(date));
            field(&d, "txtEmpNum")->setText(QLatin1String(number));
            if (photo)
                QVERIFY(writeFile(d.PhotoPath(), TestProgramDir::jpeg(1)));
            else
                QFile::remove(d.PhotoPath());
            boxes.clear();
            save(&d);
            QCOMPARE(boxes.lines(), box("警告", QString::fromUtf8(message)));
        }
        QCOMPARE(fx->rows("Employee"), 1);
    }

    // Stored with a fresh 15-digit barcode (the look-up by barcode: tst_records).
    void savedEmployeeGetsAFreshBarcode() {
        const QDateTime entered(QDate(2026, 3, 2), QTime(8, 30, 5));
        const QString file = newEmployeeFile("a.xml", "  张三 ", 2, entered, 7);
        frimEmpImport d;
        d.SetFileList({file});
        d.show();

        // No department chosen: the store fails, and the photo is put back so
        // that the corrected entry can be saved.
        child<QComboBox>(&d, "cbDept")->setCurrentIndex(-1);
        field(&d, "txtEmpNum")->setText(" 2001 ");
        save(&d);
        QCOMPARE(boxes.lines(), box("警告", "员工信息保存失败！"));
        QVERIFY(QFile::exists(d.PhotoPath()));

        boxes.clear();
        child<QComboBox>(&d, "cbDept")->setCurrentText("教务处");
        save(&d);
        QCOMPARE(boxes.lines(), box("消息", "员工信息已成功导入！", MsgBox::Icon::Information));
        QVERIFY(!child<QPushButton>(&d, "btnSave")->isEnabled());
        QVERIFY(!QFile::exists(d.PhotoPath())); // the record took it

        clsEmployee stored(fx->session());
        stored.setENUMBER("2001");
        QCOMPARE(stored.LoadByENUMBER(), clsEmployee::Lookup::Found);
        QVERIFY(QRegularExpression("^\\d{15}$").match(stored.EBARCODE()).hasMatch());
        QCOMPARE(stored.ENAME() + QString::number(stored.did()), QStringLiteral("张三2"));
        QCOMPARE(stored.ENTERDATE(), entered);
        QCOMPARE(stored.HeadImgBytes(), TestProgramDir::jpeg(7));
    }
};

QTEST_MAIN(tst_EmpImport)
#include "tst_empimport.moc"
