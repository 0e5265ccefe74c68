// attendance-admin print-cards run as a separate process, and the whole
// life of an employee: the station's new-employee file, the batch entry's
// number and barcode, the printed card, its barcode read back from the
// rendered page and found again as the station's scan finds it.
#include "shared/db/clsDbConn.h"
#include "shared/exchange/ExchangeFiles.h"
#include "shared/records/clsEmployee.h"
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
        QVERIFY(m_dir.addDept(1, QStringLiteral("教务处")));
        QVERIFY(m_dir.addEmployee("1001", QStringLiteral("李四"), "500000000000001", 1,
                                  TestProgramDir::jpeg(1)));
    }

    void wholeLifeOfAnEmployee() {
        // The station's enrolment writes a new-employee file.
        const QString newFile = m_dir.file(QStringLiteral("new.xml"));
        {
            clsEmployee enrolled;
            enrolled.setENAME(QStringLiteral("王小明"));
            enrolled.setdid(1);
            enrolled.setENTERDATE(QDateTime(QDate(2009, 3, 2), QTime(0, 0)));
            enrolled.setHeadImg(
                m_dir.writeFile(QStringLiteral("tmp.jpg"), TestProgramDir::jpeg(7)));
            QVERIFY(enrolled.savetoXML(newFile));
        }
        // The batch entry reads it, gives a number and a fresh barcode, stores it.
        ExchangeFiles::NewEmployee read;
        Error error;
        QVERIFY2(ExchangeFiles::ReadNewEmployee(newFile, &read, &error), qPrintable(error.Text()));
        QString barcode;
        {
            clsEmployee entry;
            entry.setENAME(read.ENAME);
            entry.setdid(read.DID);
            entry.setENTERDATE(read.ENTERDATE);
            entry.setHeadImg(m_dir.writeFile(QStringLiteral("temp.jpg"), read.HEADIMG));
            entry.setENUMBER(QStringLiteral("2001"));
            QVERIFY(entry.UpdateEBarCode());
            QVERIFY(
                QRegularExpression(QStringLiteral("^\\d{15}$")).match(entry.EBARCODE()).hasMatch());
            // The card then carries a fixed code, so the picture read below is
            // the same on every run (a drawn code is not read from every render).
            entry.setEBARCODE(QStringLiteral("500000000000002"));
            QVERIFY(entry.Add());
            barcode = entry.EBARCODE();
        }

        // Its card printed and rendered; the barcode read from the picture.
        const QString pdf = m_dir.file(QStringLiteral("card.pdf"));
        const ToolRun r = AdminTool::Run(print({pdf, QStringLiteral("2001")}));
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains("1 cards"));
        const QString png = m_dir.file(QStringLiteral("card"));
        QCOMPARE(RunTool(QStringLiteral("pdftoppm"), {"-r", "200", "-png", "-singlefile", pdf, png})
                     .code,
                 0);
        const ToolRun scan = RunTool(QStringLiteral("zbarimg"), {"-q", "--raw", png + ".png"});
        QCOMPARE(QString::fromLatin1(scan.out.trimmed()), barcode);
        // The name, the number and the barcode's digits under its bars as text.
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("王小明")) && text.contains(QStringLiteral("2001")) &&
                     text.contains(barcode),
                 qPrintable(text));

        // The station's scan finds the employee by that barcode.
        clsEmployee scanned;
        scanned.setEBARCODE(QString::fromLatin1(scan.out.trimmed()));
        QCOMPARE(scanned.IsExist(), clsEmployee::Lookup::Found);
        QCOMPARE(scanned.ENUMBER(), QStringLiteral("2001"));
        QCOMPARE(scanned.HeadImgBytes(), read.HEADIMG);
    }

    void allWhenNoneGivenAndRefusals() {
        const QString all = m_dir.file(QStringLiteral("all.pdf"));
        QVERIFY(AdminTool::Runs(print({all})));
        const QString text = PdfText(all);
        QVERIFY(text.contains(QStringLiteral("李四")) && text.contains(QStringLiteral("王小明")));

        // Never over an existing file; an unknown number or a wrong name writes nothing.
        const QByteArray before = readFile(all);
        QVERIFY(AdminTool::Fails(print({all, "1001"}), {"exists"}));
        QCOMPARE(readFile(all), before);
        const QString other = m_dir.file(QStringLiteral("other.pdf"));
        QVERIFY(AdminTool::Fails(print({other, "1001", "9999"}), {"9999"}));
        QVERIFY(AdminTool::Fails(print({m_dir.file(QStringLiteral("cards.txt"))})));
        QVERIFY(!QFileInfo::exists(other));
    }
};

QTEST_MAIN(tst_printcards)
#include "tst_printcards.moc"
