// The employee import and export window.
#include "ProgramDirectory.h"
#include "RowSetXml.h"
#include "clsDbConn.h"
#include "frimImportExport.h"
#include "helpers/BoxLog.h"
#include "TestProgramDir.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestImportExport : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void modes();
    void export_writesExactlyTheMarkedEmployees();
    void export_numbersWithBlanksAndQuotes();
    void export_needsMarksThenPath();
    void export_refusesExistingFileOrMissingFolder();
    void export_listEmptyWithoutDatabase();
    void import_needsPath();
    void import_insertsAndOverwrites();
    void import_badFileLeavesDatabase();

private:
    QListWidget* list(frimImportExport& w) { return child<QListWidget>(&w, "lstEmployeeList"); }
    void mark(frimImportExport& w, const QStringList& numbers);
    void run(frimImportExport& w, const QString& path);
    // Exports the employees `numbers` to `path` through a window in export mode.
    void exportFile(const QStringList& numbers, const QString& path);
    QStringList numbersIn(const QString& path);
    // ENUMBER -> "ENAME|EBARCODE|DID|HEADIMG size" for the whole table.
    QMap<QString, QString> employees();

    std::unique_ptr<TestProgramDir> fx;
    BoxLog boxes;
};

void TestImportExport::init() {
    boxes.clear();
    fx = std::make_unique<TestProgramDir>();
    QVERIFY2(fx->init(), qPrintable(fx->lastError));
    QVERIFY2(fx->addDept(1, QStringLiteral("办公室")), qPrintable(fx->lastError));
    QVERIFY2(fx->addDept(2, QStringLiteral("教务处")), qPrintable(fx->lastError));
    const QByteArray photo("\xFF\xD8\xFF\xE0photo\xFF\xD9", 11);
    QVERIFY(fx->addEmployee("E01", QStringLiteral("张三"), "100000000000001", 1, photo));
    QVERIFY(fx->addEmployee("E02", QStringLiteral("李四"), "100000000000002", 2));
    QVERIFY(fx->addEmployee("E03", QStringLiteral("王五"), "100000000000003", 1));
    QVERIFY(fx->addEmployee("E07", QStringLiteral("赵六"), "100000000000007", 2, photo));
}

void TestImportExport::cleanup() {
    fx.reset();
}

void TestImportExport::mark(frimImportExport& w, const QStringList& numbers) {
    QListWidget* l = list(w);
    for (int i = 0; i < l->count(); ++i) {
        const QString number = l->item(i)->data(Qt::UserRole).toString();
        l->item(i)->setSelected(numbers.contains(number));
    }
}

void TestImportExport::run(frimImportExport& w, const QString& path) {
    boxes.clear();
    child<QLineEdit>(&w, "txtFile")->setText(path);
    QTest::mouseClick(child<QPushButton>(&w, "btnOp"), Qt::LeftButton);
}

void TestImportExport::exportFile(const QStringList& numbers, const QString& path) {
    frimImportExport w;
    w.setImportMode(false);
    mark(w, numbers);
    run(w, path);
    QCOMPARE(boxes.lines(), box("信息", "数据已成功导出！", MsgBox::Icon::Information));
}

QStringList TestImportExport::numbersIn(const QString& path) {
    RowSet rs;
    QString error;
    if (!RowSetXml::Load(path, &rs, &error)) {
        qWarning("%s", qPrintable(error));
        return {QStringLiteral("<unreadable>")};
    }
    QStringList numbers;
    for (int r = 0; r < rs.rows.size(); ++r)
        numbers << rs.value(r, QStringLiteral("ENUMBER")).toString();
    numbers.sort();
    return numbers;
}

QMap<QString, QString> TestImportExport::employees() {
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

// Import mode: no list. Export mode: every employee listed, none marked.
void TestImportExport::modes() {
    frimImportExport w;
    w.setImportMode(true);
    w.show();
    QCOMPARE(child<QPushButton>(&w, "btnOp")->text(), QStringLiteral("导入"));
    QVERIFY(!list(w)->isEnabled());
    QCOMPARE(list(w)->count(), 0);

    frimImportExport out;
    out.setImportMode(false);
    out.show();
    QCOMPARE(child<QPushButton>(&out, "btnOp")->text(), QStringLiteral("导出"));
    QVERIFY(list(out)->isEnabled());
    QStringList lines;
    for (int i = 0; i < list(out)->count(); ++i)
        lines << list(out)->item(i)->text();
    lines.sort();
    QCOMPARE(lines, (QStringList{QStringLiteral("E01 张三"), QStringLiteral("E02 李四"),
                                 QStringLiteral("E03 王五"), QStringLiteral("E07 赵六")}));
    QVERIFY(out.MarkedNumbers().isEmpty());
}

void TestImportExport::export_writesExactlyTheMarkedEmployees() {
    frimImportExport w;
    w.setImportMode(false);
    w.show();
    mark(w, {"E01", "E07"});
    QCOMPARE(w.MarkedNumbers().size(), 2);
    const QString path = fx->file(QStringLiteral("out.xml"));
    run(w, QStringLiteral("  ") + path + QStringLiteral(" ")); // typed path, trimmed
    QCOMPARE(boxes.lines(), box("信息", "数据已成功导出！", MsgBox::Icon::Information));
    QCOMPARE(numbersIn(path), (QStringList{"E01", "E07"}));

    // The marks stay, so another file can follow with a changed choice.
    QVERIFY(w.isVisible());
    mark(w, {"E02"});
    const QString second = fx->file(QStringLiteral("second.xml"));
    run(w, second);
    QCOMPARE(boxes.lines(), box("信息", "数据已成功导出！", MsgBox::Icon::Information));
    QCOMPARE(numbersIn(second), QStringList{"E02"});
}

void TestImportExport::export_numbersWithBlanksAndQuotes() {
    QVERIFY(fx->addEmployee(QStringLiteral("E 9'x"), QStringLiteral("钱七"), "100000000000009", 1));
    frimImportExport w;
    w.setImportMode(false);
    mark(w, {QStringLiteral("E 9'x"), "E03"});
    const QString path = fx->file(QStringLiteral("odd.xml"));
    run(w, path);
    QCOMPARE(boxes.lines(), box("信息", "数据已成功导出！", MsgBox::Icon::Information));
    QCOMPARE(numbersIn(path), (QStringList{QStringLiteral("E 9'x"), "E03"}));
}

void TestImportExport::export_needsMarksThenPath() {
    frimImportExport w;
    w.setImportMode(false);
    run(w, QStringLiteral("   "));
    QCOMPARE(boxes.lines(), box("警告", "至少要选择一个需要导出的员工才能执行导出操作！"));

    mark(w, {"E02"});
    run(w, QStringLiteral("   "));
    QCOMPARE(boxes.lines(), box("警告", "请设定导出文件名！"));
}

void TestImportExport::export_refusesExistingFileOrMissingFolder() {
    const QString existing = fx->file(QStringLiteral("keep.xml"));
    QVERIFY(writeFile(existing, "precious"));
    const QString missing = fx->file(QStringLiteral("no/such/folder/out.xml"));
    frimImportExport w;
    w.setImportMode(false);
    mark(w, {"E01"});
    for (const QString& path : {existing, missing}) {
        run(w, path);
        QCOMPARE(boxes.lines(), box("错误", "导出数据失败！"));
    }
    QCOMPARE(readFile(existing), QByteArray("precious"));
    QVERIFY(!QFile::exists(missing));
}

void TestImportExport::export_listEmptyWithoutDatabase() {
    QTemporaryDir empty;
    SetProgramDirectory(empty.path()); // no configuration, no database
    clsDbConn::CloseShared();
    frimImportExport w;
    w.setImportMode(false);
    w.show();
    QCOMPARE(list(w)->count(), 0);
    QVERIFY(boxes.isEmpty()); // a failed load shows nothing by itself
    run(w, empty.filePath(QStringLiteral("out.xml")));
    QCOMPARE(boxes.lines(), box("警告", "至少要选择一个需要导出的员工才能执行导出操作！"));
}

void TestImportExport::import_needsPath() {
    frimImportExport w;
    w.setImportMode(true);
    run(w, QStringLiteral(" "));
    QCOMPARE(boxes.lines(), box("警告", "请选择导入文件！"));
}

void TestImportExport::import_insertsAndOverwrites() {
    const QString path = fx->file(QStringLiteral("employees.xml"));
    exportFile({"E01", "E02"}, path);
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
    QCOMPARE(now.size(), 4);
}

void TestImportExport::import_badFileLeavesDatabase() {
    const QMap<QString, QString> before = employees();
    const QString broken = fx->file(QStringLiteral("broken.xml"));
    QVERIFY(writeFile(broken,
                      "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'><rs:data><z:row"));
    frimImportExport w;
    w.setImportMode(true);
    // (A file that fails part-way is taken back whole: see tst_exchange.)
    for (const QString& path : {broken, fx->file(QStringLiteral("missing.xml"))}) {
        run(w, path);
        QCOMPARE(boxes.lines(), box("错误", "导入数据失败！"));
        QCOMPARE(employees(), before);
    }
}

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
