// attendance-admin print-cards run as a separate process: the printed
// card's barcode read back from the rendered page as a hand scanner reads
// it (the new-employee file and the batch entry's fresh barcode:
// tst_empimport; the look-up by barcode: tst_records).
#include "shared/db/clsDbConn.h"
#include "tests/common/TestProgramDir.h"
#include "tests/tools/helpers/AdminTool.h"

#include <QFileInfo>
#include <QtTest>

class tst_printcards : public QObject {
    Q_OBJECT

private:
    TestProgramDir m_dir;

    // The print-cards command line on the program directory; this program's
    // connection is closed first.
    QStringList print(const QStringList& args) {
        clsDbConn::CloseShared();
        return QStringList{"print-cards"} + args + QStringList{"--dir", m_dir.path()};
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_dir.init(), qPrintable(m_dir.lastError));
        QVERIFY(m_dir.addDept(1, "教务处"));
        QVERIFY(m_dir.addEmployee("1001", "李四", "500000000000001", 1, TestProgramDir::jpeg(1)));
    }

    void printedBarcodeReadsBack() {
        // A fixed code, so that the picture read below is the same on every
        // run (a drawn code is not read from every render).
        const QString barcode = QStringLiteral("500000000000002");
        QVERIFY(m_dir.addEmployee("2001", "王小明", barcode, 1, TestProgramDir::jpeg(7)));
        // Its card printed and rendered; the barcode read from the picture.
        const QString pdf = m_dir.file("card.pdf");
        const ToolRun r = AdminTool::Run(print({pdf, "2001"}));
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains("1 cards"));
        const QString png = m_dir.file("card");
        QCOMPARE(RunTool("pdftoppm", {"-r", "200", "-png", "-singlefile", pdf, png}).code, 0);
        const ToolRun scan = RunTool("zbarimg", {"-q", "--raw", png + ".png"});
        QCOMPARE(QString::fromLatin1(scan.out.trimmed()), barcode);
        // The name, the number and the barcode's digits under its bars as text.
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains("王小明") && text.contains("2001") && text.contains(barcode),
                 qPrintable(text));
    }

    void allWhenNoneGivenAndRefusals() {
        const QString all = m_dir.file("all.pdf");
        QVERIFY(AdminTool::Runs(print({all})));
        const QString text = PdfText(all);
        QVERIFY(text.contains("李四") && text.contains("王小明"));

        // Never over an existing file; an unknown number or a wrong name writes nothing.
        const QByteArray before = readFile(all);
        QVERIFY(AdminTool::Fails(print({all, "1001"}), {"exists"}));
        QCOMPARE(readFile(all), before);
        const QString other = m_dir.file("other.pdf");
        QVERIFY(AdminTool::Fails(print({other, "1001", "9999"}), {"9999"}));
        QVERIFY(AdminTool::Fails(print({m_dir.file("cards.txt")})));
        QVERIFY(!QFileInfo::exists(other));
    }
};

QTEST_MAIN(tst_printcards)
#include "tst_printcards.moc"
