// The employee import and export window.
#include "platform/DesktopKit.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/db/clsDbConn.h"
#include "signdesk/StationGlobals.h"
#include "signdesk/frimImportExport.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/ReadBack.h"
#include "tests/common/TestProgramDir.h"

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
        QVERIFY(fx->addDept(1, "办公室") && fx->addDept(2, "教务处"));
        const QByteArray photo("\xFF\xD8\xFF\xE0photo\xFF\xD9", 11);
        QVERIFY(fx->addEmployee("E01", QStringLiteral("张三"), "100000000000001", 1, photo));
        QVERIFY(fx->addEmployee("E02", QStringLiteral("李四"), "100000000000002", 2));
        QVERIFY(fx->addEmployee("E03", QStringLiteral("王五"), "100000000000003", 1));
        QVERIFY(fx->addEmployee("E07", QStringLiteral("赵六"), "100000000000007", 2, photo));
        QVERIFY(fx->addEmployee("E 9'x", "钱七", "1009", 1));
    }

    void cleanup() { fx.reset(); }

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
        QCOMPARE(dialogs.files[1].start, chosen);
    }

    // Every employee listed, none marked; exactly the marked ones (numbers with
    // blanks and quotes included) to the trimmed path; the marks stay for
    // another file with a changed choice. Imported again (no list in import
    // mode; a blank path refused), the file restores a removed employee whole
    // (the import rules, broken and missing files: tst_exchange, tst_rowsetxml).
    void exportMarkedAndImport() {
        frimImportExport w;
        w.show();
        QStringList lines;
        for (int i = 0; i < list(w)->count(); ++i)
            lines << list(w)->item(i)->text();
        lines.sort();
        QCOMPARE(lines,
                 (QStringList{"E 9'x 钱七", "E01 张三", "E02 李四", "E03 王五", "E07 赵六"}));
        QVERIFY(w.MarkedNumbers().isEmpty());
        mark(w, {"E01", "E07", "E 9'x"});
        const QString path = fx->file(QStringLiteral("out.xml"));
        run(w, QStringLiteral("  ") + path + QStringLiteral(" "));
        QCOMPARE(boxes.lines(), kExported);
        QCOMPARE(FileRows(path, {"ENUMBER"}), (QStringList{"E 9'x", "E01", "E07"}));
        mark(w, {"E02"});
        run(w, fx->file(QStringLiteral("second.xml")));
        QCOMPARE(boxes.lines(), kExported);
        QCOMPARE(FileRows(fx->file(QStringLiteral("second.xml")), {"ENUMBER"}), QStringList{"E02"});

        QVERIFY(fx->exec(QStringLiteral("DELETE FROM Employee WHERE ENUMBER = 'E07'")));
        frimImportExport in;
        in.setImportMode(true);
        QVERIFY(!list(in)->isEnabled() && list(in)->count() == 0);
        run(in, QStringLiteral(" "));
        QCOMPARE(boxes.lines(), box("警告", "请选择导入文件！"));
        run(in, QStringLiteral(" ") + path);
        QCOMPARE(boxes.lines(), box("信息", "数据导入完成！", MsgBox::Icon::Information));
        QCOMPARE(fx->rows("Employee"), 5);
        QCOMPARE(fx->rows("Employee WHERE ENUMBER = 'E07' AND ENAME = '赵六' AND EBARCODE = "
                          "'100000000000007' AND DID = 2 AND LENGTH(HEADIMG) = 11"),
                 1);
    }

    // No marks, then no path; an existing file is refused and kept (a missing
    // folder: tst_rowsetxml); without a database the list is empty, quietly.
    void exportRefused() {
        frimImportExport w;
        w.setImportMode(false); // fills the list
        run(w, QStringLiteral("   "));
        QCOMPARE(boxes.lines(), box("警告", "至少要选择一个需要导出的员工才能执行导出操作！"));
        mark(w, {"E02"});
        run(w, QStringLiteral("   "));
        QCOMPARE(boxes.lines(), box("警告", "请设定导出文件名！"));
        const QString existing = fx->writeFile(QStringLiteral("keep.xml"), "precious");
        run(w, existing);
        QCOMPARE(boxes.lines(), box("错误", "导出数据失败！"));
        QCOMPARE(readFile(existing), QByteArray("precious"));

        QTemporaryDir empty;
        SetProgramDirectory(empty.path()); // no configuration, no database
        clsDbConn::CloseShared();
        boxes.clear();
        frimImportExport none;
        none.show();
        QVERIFY(list(none)->count() == 0 && boxes.isEmpty());
    }
};

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
