// The printed sign-in card as a hand scanner sees it.
#include "reports/cards/SingleEmployeeInfoReport.h"
#include "tests/common/TestProgramDir.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_cardreport : public QObject {
    Q_OBJECT

private slots:
    void barcodeDecodesAtLowResolution() {
        // 100 dpi: bars of one pixel or two; they must be tall enough to read.
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("card.png"));
        QVERIFY(SingleEmployeeInfoReport::SampleCard(100).save(png));
        QCOMPARE(RunTool(QStringLiteral("zbarimg"), {"--raw", "-q", png}).out.trimmed(),
                 QByteArray("123456789012345"));
    }
};

QTEST_MAIN(tst_cardreport)
#include "tst_cardreport.moc"
