// The employee import and export window.
#include "BoxLog.h"
#include "DesktopKit.h"
#include "DialogAnswers.h"
#include "ProgramDirectory.h"
#include "RowSetXml.h"
#include "StationGlobals.h"
#include "TestProgramDir.h"
#include "clsDbConn.h"
#include "frimImportExport.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

namespace {

const QString kExported = box("信息", "数据已成功导出！", MsgBox::Icon::Information);

QListWidget* list(frimImportExport& w) {
    return child<QListWidget>(&w, "lstEmployeeList");
}

void mark(frimImportExport& w, const QStringList& numbers) {
    QListWidget* l = list(w);
    for (int i = 0; i < l->count(); ++i)
        l->item(i)->setSelected(numbers.contains(l->item(i)->data(Qt::UserRole).toString()));
}

QStringList numbersIn(const QString& path) {
    RowSet rs;
    if (!RowSetXml::Load(path, &rs))
        return {QStringLiteral("<unreadable>")};
    QStringList numbers;
    for (int r = 0; r < rs.rows.size(); ++r)
        numbers << rs.value(r, QStringLiteral("ENUMBER")).toString();
    numbers.sort();
    return numbers;
}

// ENUMBER -> "ENAME|EBARCODE|DID|HEADIMG size" for the whole table.
QMap<QString, QString> employees() {
    QMap<QString, QString> out;
    QSqlQuery q(clsDbConn().GetDbConn());
    if (!q.exec(QStringLiteral("SELECT ENUMBER, ENAME, EBARCODE, DID, HEADIMG FROM Employee")))
        return out;
    while (q.next())
        out.insert(q.value(0).toString(), QStringLiteral("%1|%2|%3|%4")
                                              .arg(q.value(1).toString(), q.value(2).toString())
                                              .arg(q.value(3).toInt())
                                              .arg(q.value(4).toByteArray().size()));
    return out;
}

} // namespace

class TestImportExport : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;

    // Types `path` and presses the command button, with no boxes before.
    void run(frimImportExport& w, const QString& path) {
        boxes.clear();
        child<QLineEdit>(&w, "txtFile")->setText(path);
        QTest::mouseClick(child<QPushButton>(&w, "btnOp"), Qt::LeftButton);
    }

private slots:
    void initTestCase() { DesktopKit::SetProgramTitle(Station::ProgramTitle()); }

    void init() {
        boxes.clear();
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, QStringLiteral("办公室")));
        QVERIFY(fx->addDept(2, QStringLiteral("教务处")));
        const QByteArray photo("\xFF\xD8\xFF\xE0photo\xFF\xD9", 11);
        QVERIFY(fx->addEmployee("E01", QStringLiteral("张三"), "100000000000001", 1, photo));
        QVERIFY(fx->addEmployee("E02", QStringLiteral("李四"), "100000000000002", 2));
        QVERIFY(fx->addEmployee("E03", QStringLiteral("王五"), "100000000000003", 1));
        QVERIFY(fx->addEmployee("E07", QStringLiteral("赵六"), "100000000000007", 2, photo));
        QVERIFY(fx->addEmployee(QStringLiteral("E 9'x"), QStringLiteral("钱七"), "1009", 1));
    }

    void cleanup() { fx.reset(); }

    // Import mode: no list. Export mode: every employee listed, none marked.
    void modes() {
        frimImportExport in;
        in.setImportMode(true);
        in.show();
        QCOMPARE(child<QPushButton>(&in, "btnOp")->text(), QStringLiteral("导入"));
        QVERIFY(!list(in)->isEnabled());
        QCOMPARE(list(in)->count(), 0);

        frimImportExport out;
        out.show();
        QCOMPARE(child<QPushButton>(&out, "btnOp")->text(), QStringLiteral("导出"));
        QVERIFY(list(out)->isEnabled());
        QStringList lines;
        for (int i = 0; i < list(out)->count(); ++i)
            lines << list(out)->item(i)->text();
        lines.sort();
        QCOMPARE(lines,
                 (QStringList{"E 9'x 钱七", "E01 张三", "E02 李四", "E03 王五", "E07 赵六"}));
        QVERIFY(out.MarkedNumbers().isEmpty());
    }

    // Both modes browse with a save dialog proposing the last choice; cancel
    // keeps the path typed so far.
    void browse() {
        DialogAnswers dialogs;
        frimImportExport w;
        const QString chosen = fx->file(QStringLiteral("a.xml"));
        dialogs.path(chosen);
        dialogs.cancel();
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(child<QPushButton>(&w, "btnBrow"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(&w, "txtFile")->text(), chosen);
        QCOMPARE(dialogs.files.size(), 2);
        QCOMPARE(dialogs.files[0].kind, FileDialog::Kind::Save);
        QCOMPARE(dialogs.files[0].filter, QStringLiteral("XML文件 (*.xml)"));
        QCOMPARE(dialogs.files[1].start, chosen);
    }

    // Exactly the marked employees (numbers with blanks and quotes included) to
    // the trimmed path; the marks stay for another file with a changed choice.
    void exportMarked() {
        frimImportExport w;
        w.show();
        mark(w, {"E01", "E07", "E 9'x"});
        const QString path = fx->file(QStringLiteral("out.xml"));
        run(w, QStringLiteral("  ") + path + QStringLiteral(" "));
        QCOMPARE(boxes.lines(), kExported);
        QCOMPARE(numbersIn(path), (QStringList{"E 9'x", "E01", "E07"}));

        QVERIFY(w.isVisible());
        mark(w, {"E02"});
        run(w, fx->file(QStringLiteral("second.xml")));
        QCOMPARE(boxes.lines(), kExported);
        QCOMPARE(numbersIn(fx->file(QStringLiteral("second.xml"))), QStringList{"E02"});
    }

    // No marks, then no path; an existing file or a missing folder fails and
    // nothing is written; without a database the list is empty, quietly.
    void exportRefused() {
        frimImportExport w;
        w.setImportMode(false);
        run(w, QStringLiteral("   "));
        QCOMPARE(boxes.lines(), box("警告", "至少要选择一个需要导出的员工才能执行导出操作！"));
        mark(w, {"E02"});
        run(w, QStringLiteral("   "));
        QCOMPARE(boxes.lines(), box("警告", "请设定导出文件名！"));
        const QString existing = fx->writeFile(QStringLiteral("keep.xml"), "precious");
        const QString missing = fx->file(QStringLiteral("no/such/folder/out.xml"));
        for (const QString& path : {existing, missing}) {
            run(w, path);
            QCOMPARE(boxes.lines(), box("错误", "导出数据失败！"));
        }
        QCOMPARE(readFile(existing), QByteArray("precious"));
        QVERIFY(!QFile::exists(missing));

        QTemporaryDir empty;
        SetProgramDirectory(empty.path()); // no configuration, no database
        clsDbConn::CloseShared();
        frimImportExport none;
        none.show();
        QCOMPARE(list(none)->count(), 0);
        run(none, empty.filePath(QStringLiteral("out.xml")));
        QCOMPARE(boxes.lines(), box("警告", "至少要选择一个需要导出的员工才能执行导出操作！"));
    }

    void importInsertsAndOverwrites() {
        const QString path = fx->file(QStringLiteral("employees.xml"));
        {
            frimImportExport out;
            out.setImportMode(false);
            mark(out, {"E01", "E02"});
            run(out, path);
            QCOMPARE(boxes.lines(), kExported);
        }
        const QMap<QString, QString> exported = employees();

        // Change one employee and remove the other; the import restores both.
        QSqlQuery q(clsDbConn().GetDbConn());
        QVERIFY(q.exec(QStringLiteral("UPDATE Employee SET ENAME = '改名', EBARCODE = '999', "
                                      "DID = 2, HEADIMG = NULL WHERE ENUMBER = 'E01'")));
        QVERIFY(q.exec(QStringLiteral("DELETE FROM Employee WHERE ENUMBER = 'E02'")));
        QVERIFY(q.exec(QStringLiteral("UPDATE Employee SET ENAME = '留下' WHERE ENUMBER = 'E03'")));
        q.finish();

        frimImportExport w;
        w.setImportMode(true);
        run(w, QStringLiteral(" ") + path);
        QCOMPARE(boxes.lines(), box("信息", "数据导入完成！", MsgBox::Icon::Information));
        const QMap<QString, QString> now = employees();
        QCOMPARE(now.value("E01"), exported.value("E01"));
        QCOMPARE(now.value("E02"), exported.value("E02"));
        QCOMPARE(now.value("E03").section('|', 0, 0), QStringLiteral("留下")); // not in the file
        QCOMPARE(now.size(), 5);
    }

    // No path; a broken or missing file leaves the database as it was (a file
    // that fails part-way is taken back whole: see tst_exchange).
    void importRefused() {
        const QMap<QString, QString> before = employees();
        const QString broken = fx->writeFile(
            QStringLiteral("broken.xml"),
            "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'><rs:data><z:row");
        frimImportExport w;
        w.setImportMode(true);
        run(w, QStringLiteral(" "));
        QCOMPARE(boxes.lines(), box("警告", "请选择导入文件！"));
        for (const QString& path : {broken, fx->file(QStringLiteral("missing.xml"))}) {
            run(w, path);
            QCOMPARE(boxes.lines(), box("错误", "导入数据失败！"));
            QCOMPARE(employees(), before);
        }
    }
};

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
