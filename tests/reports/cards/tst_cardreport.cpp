// The printed sign-in card as a hand scanner sees it, and its captions in
// either language within their cells.
#include "report/ReportFonts.h"
#include "report/ReportPainter.h"
#include "reports/cards/SingleEmployeeInfoReport.h"
#include "tests/common/TestProgramDir.h"
#include "texts/Translation.h"

#include <QTemporaryDir>
#include <QTranslator>
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

    void captionsFitInEitherLanguage() {
        ReportFonts::InstallSubstitutions();
        QTranslator english;
        QVERIFY(Translation::Load(UiLanguage::English, &english));
        for (const bool inEnglish : {false, true}) {
            if (inEnglish)
                QVERIFY(QCoreApplication::installTranslator(&english));
            const SingleEmployeeInfoReport report;
            QCoreApplication::removeTranslator(&english);
            for (const char* name : {"Label1", "Label2", "Label3"}) {
                const ReportControl* caption = report.Detail().Control(QString::fromLatin1(name));
                QVERIFY(caption && !caption->text.isEmpty());
                QVERIFY2(ReportPainter::TextFits(*caption), qPrintable(caption->text));
                QCOMPARE(caption->text.at(0).unicode() < 0x80, inEnglish);
            }
        }
    }
};

QTEST_MAIN(tst_cardreport)
#include "tst_cardreport.moc"
