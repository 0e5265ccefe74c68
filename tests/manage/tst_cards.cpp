// The sign-in card: its design dialog on the configuration file (defaults,
// values stored and read back, the logo copy, a failed write) and the card
// report (order, repeated runs, styles read per run, logo and photo).
#include "manage/CardReports.h"
#include "manage/frmCardSet.h"
#include "platform/ColorDialog.h"
#include "platform/FontDialog.h"
#include "report/ReportDocument.h"
#include "report/ReportPreview.h"
#include "reports/cards/SingleEmployeeInfoReport.h"
#include "reports/cards/clsTextDspStyle.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/records/clsEmployeeSet.h"
#include "tests/common/BoxLog.h"
#include "tests/common/DialogAnswers.h"
#include "tests/common/TestProgramDir.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// The controls of every card in the document, in order: name -> control.
QList<QHash<QString, ReportControl>> cards(const ReportDocument& doc) {
    QList<QHash<QString, ReportControl>> result;
    for (int p = 0; p < doc.PageCount(); ++p)
        for (const ReportControl& c : doc.PageAt(p).items) {
            if (c.name == QLatin1String("Shape1"))
                result.append(QHash<QString, ReportControl>());
            result.last().insert(c.name, c);
        }
    return result;
}

QStringList numbers(const ReportDocument& doc) {
    QStringList list;
    for (const auto& card : cards(doc))
        list << card.value("lblNumber").text;
    return list;
}

QColor textColor(QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

// A label's text, face, size, colour and boldness, joined by '|'.
QString style(const ReportControl& c) {
    return QStringList{c.text, c.fontFamily, QString::number(c.fontSize), c.foreColor.name(),
                       QString::number(int(c.bold))}
        .join(QLatin1Char('|'));
}

QString pngFile(const QString& path, const QColor& color) {
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(color);
    img.save(path, "PNG");
    return path;
}

} // namespace

class tst_cards : public QObject {
    Q_OBJECT

private:
    TestProgramDir m_dir;

    // Keys of "attendance.ini" given as group, key, value, group, key, ...
    void setIni(const QStringList& triples) {
        for (qsizetype i = 0; i + 2 < triples.size(); i += 3)
            QVERIFY(m_dir.setIni(triples[i], triples[i + 1], triples[i + 2]));
    }
    // A report run on the employees with these numbers.
    ReportDocument run(SingleEmployeeInfoReport& report, const QStringList& list) {
        clsEmployeeSet set(m_dir.session());
        if (!SingleEmployeeInfoReport::LoadEmployees(list, &set))
            qFatal("employees not loaded");
        report.setEmployeeSet(&set);
        ReportDocument doc = ReportDocument::Run(report);
        report.setEmployeeSet(nullptr);
        return doc;
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_dir.init(), qPrintable(m_dir.lastError));
        QVERIFY(m_dir.addDept(1, "教务处"));
        QVERIFY(m_dir.addDept(2, "总务处"));
        for (int i = 1; i <= 7; ++i)
            QVERIFY(m_dir.addEmployee(QString::number(1000 + i), QStringLiteral("员工%1").arg(i),
                                      QString::number(500000000000000LL + i), 1 + i % 2,
                                      i == 2 ? QByteArray() : TestProgramDir::jpeg(i)));
    }

    void designDefaultsAndSettingsReadBack() {
        BoxLog boxes;
        DialogAnswers answers;
        {
            // Nothing stored: the card is headed by the unit name, and one
            // line of the memo fits its box (measured in points).
            SingleEmployeeInfoReport report;
            const ReportControl memo = cards(run(report, {"1001"})).first().value("lblMemo");
            QImage points(1, 1, QImage::Format_RGB32);
            points.setDotsPerMeterY(2835); // 72 dpi
            const QFontMetricsF metrics(QFont(memo.fontFamily, qRound(memo.fontSize)), &points);
            QVERIFY(metrics.height() * 20 <= memo.rect.height());

            frmCardSet dlg;
            for (const auto& [name, text, size] :
                 {std::tuple{"lblUnit", "实验中学", 14.0}, std::tuple{"lblMemo", "", 9.0}}) {
                QLabel* label = child<QLabel>(&dlg, name);
                const QFont f = label->font();
                QCOMPARE(
                    QStringList({label->text(), QString::number(f.pointSizeF()),
                                 QString::number(f.bold() + f.italic()), textColor(label).name()}),
                    QStringList({QString::fromUtf8(text), QString::number(size), "0", "#000000"}));
            }
            QVERIFY(child<QLabel>(&dlg, "imgLogo")->pixmap().isNull());
            QVERIFY(!child<QLabel>(&dlg, "imgCard")->pixmap().isNull());

            // The name is stored trimmed and shown as entered; blank changes nothing.
            answers.text("  第一中学  ");
            answers.text("   ");
            child<QPushButton>(&dlg, "btnUnitName")->click();
            child<QPushButton>(&dlg, "btnUnitName")->click();
            QCOMPARE(answers.inputs.size(), 2);
            QCOMPARE(answers.inputs[1].text, QStringLiteral("第一中学"));
            QCOMPARE(m_dir.ini("UNIT", "DSPNAME"), QStringLiteral("第一中学"));
            QCOMPARE(child<QLabel>(&dlg, "lblUnit")->text(), QStringLiteral("  第一中学  "));
            QCOMPARE(m_dir.ini("UNIT", "UNITNAME"), QStringLiteral("实验中学"));

            // Font: preset from the stored style, a half size to the even whole number.
            QList<QFont> presets;
            FontDialog::Seam::Override fonts(
                [&](const FontDialog::Request& r) -> std::optional<QFont> {
                    presets << r.initial;
                    if (presets.size() > 1)
                        return std::nullopt; // cancel
                    QFont f("DejaVu Serif");
                    f.setPointSizeF(12.5);
                    f.setBold(true);
                    f.setItalic(true);
                    return f;
                });
            child<QPushButton>(&dlg, "btnMemoFont")->click();
            child<QPushButton>(&dlg, "btnMemoFont")->click();
            QCOMPARE(presets[0].pointSize(), 9);
            QCOMPARE(presets[1].pointSize(), 12);
            QVERIFY(presets[1].bold() && presets[1].italic());
            QCOMPARE(m_dir.ini("MEMO", "DSPSIZE"), QStringLiteral("12"));
            QCOMPARE(m_dir.ini("MEMO", "DSPFONT"), QStringLiteral("DejaVu Serif"));
            QCOMPARE(m_dir.ini("MEMO", "DSPBOLD") + m_dir.ini("MEMO", "DSPITALIC"),
                     QStringLiteral("11"));

            // Colour: red in the low byte; cancelling keeps the stored one.
            QList<QColor> colours;
            ColorDialog::Seam::Override colors(
                [&](const ColorDialog::Request& r) -> std::optional<QColor> {
                    colours << r.initial;
                    return colours.size() == 1 ? std::optional<QColor>(QColor(0x12, 0x34, 0x56))
                                               : std::nullopt;
                });
            child<QPushButton>(&dlg, "btnUnitColor")->click();
            child<QPushButton>(&dlg, "btnUnitColor")->click();
            QCOMPARE(colours[1], QColor(0x12, 0x34, 0x56));
            QCOMPARE(m_dir.ini("UNIT", "DSPCOLOR"), QString::number(0x563412));
            QVERIFY(boxes.isEmpty());
        }
        // A new dialog shows what is stored.
        frmCardSet again;
        QLabel* memo = child<QLabel>(&again, "lblMemo");
        QCOMPARE(memo->font().pointSize(), 12);
        QVERIFY(memo->font().bold() && memo->font().italic());
        QCOMPARE(textColor(child<QLabel>(&again, "lblUnit")), QColor(0x12, 0x34, 0x56));
        QCOMPARE(child<QLabel>(&again, "lblUnit")->text(), QStringLiteral("第一中学"));

        // Values edited by hand read as the defaults.
        setIni({"MEMO", "DSPSIZE", "大号", "MEMO", "DSPCOLOR", "red", "MEMO", "DSPBOLD", "yes"});
        clsTextDspStyle style;
        style.InitConfigGroupName(" MEMO ");
        QCOMPARE(style.GetSize(), QStringLiteral("9"));
        QCOMPARE(style.GetColor(), 0);
        QVERIFY(!style.GetBold());
    }

    void logoCopiedIntoProgramDirectory() {
        QTemporaryDir elsewhere;
        const QString source = pngFile(elsewhere.filePath("徽标.png"), Qt::red);
        const QString copy = JoinPath(m_dir.path(), "徽标.png");
        DialogAnswers answers;
        answers.path(source);
        answers.path(copy); // the copy itself: must survive being chosen again
        {
            frmCardSet dlg;
            child<QPushButton>(&dlg, "btnUnitLogo")->click();
            QCOMPARE(m_dir.ini("LOGO", "FILEPATH"), copy);
            QVERIFY(!child<QLabel>(&dlg, "imgLogo")->pixmap().isNull());
            QVERIFY(answers.files[0].filter.contains("所有图像文件"));
            child<QPushButton>(&dlg, "btnUnitLogo")->click();
        }
        QVERIFY(QFile::remove(source));
        QCOMPARE(QImage(copy).pixelColor(0, 0), QColor(Qt::red));
        frmCardSet dlg;
        QVERIFY(!child<QLabel>(&dlg, "imgLogo")->pixmap().isNull());

        // Pictures named as the program's own files, and no picture: refused,
        // nothing copied, the stored logo kept.
        BoxLog boxes;
        const QStringList own{"vorerur.dat", "attendance.ini", "manage", "HELP.html"};
        QVERIFY(writeFile(m_dir.file("manage"), "#!/bin/sh\n"));
        for (const QString& name : own)
            answers.path(pngFile(elsewhere.filePath(name), Qt::blue));
        QVERIFY(writeFile(elsewhere.filePath("x.png"), "no picture"));
        answers.path(elsewhere.filePath("x.png"));
        for (int i = 0; i < 5; ++i)
            child<QPushButton>(&dlg, "btnUnitLogo")->click();
        QCOMPARE(boxes.size(), 5);
        QVERIFY(boxes.shown[0].text.startsWith("“vorerur.dat”是程序目录中"));
        QVERIFY(boxes.shown[4].text.contains("不是可以读取的图片文件"));
        for (const QString& name : own)
            QVERIFY(QImage(m_dir.file(name)).isNull());
        QCOMPARE(m_dir.ini("LOGO", "FILEPATH"), copy);
    }

    void failedWriteIsReported() {
        BoxLog boxes;
        DialogAnswers answers;
        answers.text("新名称");
        frmCardSet dlg;
        // A folder in the configuration file's place takes no write.
        const QString kept = m_dir.file("kept.ini");
        QVERIFY(QFile::rename(m_dir.iniPath, kept));
        QVERIFY(QDir().mkdir(m_dir.iniPath));
        child<QPushButton>(&dlg, "btnMemoText")->click();
        QVERIFY(QDir().rmdir(m_dir.iniPath));
        QVERIFY(QFile::rename(kept, m_dir.iniPath));
        QCOMPARE(boxes.lines(), box("错误", "保存签到卡设置失败！"));
        QVERIFY(child<QLabel>(&dlg, "lblMemo")->text() != QStringLiteral("新名称") &&
                m_dir.ini("MEMO", "DSPNAME").isEmpty());
    }

    void cardsInTheSetsOrderEveryRunFromTheFirst() {
        SingleEmployeeInfoReport report;
        ReportDocument doc = run(report, {"1003", "1001", "1002", "1001"});
        QCOMPARE(numbers(doc), QStringList({"1003", "1001", "1002"}));
        const auto three = cards(doc);
        QCOMPARE(three[0].value("lblName").text, QStringLiteral("员工3"));
        QCOMPARE(three[0].value("lblDept").text, QStringLiteral("总务处"));
        QCOMPARE(three[0].value("Barcode").text, QStringLiteral("500000000000003"));
        QVERIFY(!three[0].value("ImgHead").picture.isNull());
        QVERIFY(three[2].value("ImgHead").picture.isNull()); // 1002 has no photo
        // Two cards side by side, the third below the first.
        const QRect a = three[0].value("Shape1").rect, b = three[1].value("Shape1").rect,
                    c = three[2].value("Shape1").rect;
        QVERIFY(b.top() == a.top() && b.left() >= a.right());
        QVERIFY(c.left() == a.left() && c.top() >= a.bottom());

        // The same report again: it starts at the first of the new set.
        doc = run(report, {"1002", "1004", "1005", "1006", "1007"});
        QCOMPARE(numbers(doc), QStringList({"1002", "1004", "1005", "1006", "1007"}));
        doc = run(report, {});
        QCOMPARE(doc.DetailCount(), 7);
        clsEmployeeSet none(m_dir.session());
        report.setEmployeeSet(&none);
        QCOMPARE(ReportDocument::Run(report).DetailCount(), 0);
    }

    void designReadAtEveryRun() {
        SingleEmployeeInfoReport report;
        const QString logo = pngFile(m_dir.file("logo.png"), Qt::green);
        setIni({"UNIT", "DSPNAME", "第二中学",   "UNIT", "DSPFONT",  "",
                "UNIT", "DSPSIZE", "",           "UNIT", "DSPCOLOR", "",
                "MEMO", "DSPNAME", "遗失请交还", "MEMO", "DSPFONT",  "DejaVu Sans",
                "MEMO", "DSPSIZE", "9",          "MEMO", "DSPCOLOR", "255",
                "MEMO", "DSPBOLD", "1",          "LOGO", "FILEPATH", logo});
        auto card = cards(run(report, {"1001"})).first();
        // No face stored: the design's own.
        QCOMPARE(style(card.value("lblUnit")), QStringLiteral("第二中学|隶书|14|#000000|0"));
        QCOMPARE(style(card.value("lblMemo")),
                 QStringLiteral("遗失请交还|DejaVu Sans|9|#ff0000|1"));
        QCOMPARE(card.value("logPic").picture.pixelColor(0, 0), QColor(Qt::green));

        // Changed settings and a logo gone: the next run follows.
        setIni({"MEMO", "DSPNAME", "新备注", "MEMO", "DSPFONT", ""});
        QVERIFY(QFile::remove(logo));
        card = cards(run(report, {"1001"})).first();
        QCOMPARE(style(card.value("lblMemo")), QStringLiteral("新备注|Arial|9|#ff0000|1"));
        QCOMPARE(card.value("logPic").picture, SingleEmployeeInfoReport::BuiltInLogo());
    }

    // The preview holds the chosen cards; the design dialog opens.
    void previewAndDesignFromTheMainWindow() {
        QStringList shown;
        for (int i = 0; i < 2; ++i) {
            OnNextModal([&](QWidget* w) {
                auto* preview = qobject_cast<ReportPreview*>(w);
                shown << (preview ? QString::number(preview->Document().DetailCount())
                                  : w->windowTitle());
                w->close();
            });
            i == 0 ? PreviewCards(nullptr, {"1005", "1004"}) : ShowCardDesignDialog(nullptr);
        }
        QCOMPARE(shown, QStringList({"2", "签到卡设置"}));
    }
};

QTEST_MAIN(tst_cards)
#include "tst_cards.moc"
