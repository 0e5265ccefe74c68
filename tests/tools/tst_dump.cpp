// attendance-admin dump on a file with one huge value: bounded output.
#include "RowSetXml.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestDump : public QObject {
    Q_OBJECT

private slots:
    void hugeValueIsCutNotPadded() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("huge.xml"));
        RowSet rs;
        rs.columns.resize(2);
        rs.columns[0].name = QStringLiteral("ID");
        rs.columns[0].type = RowSetColumn::Type::Int;
        rs.columns[1].name = QStringLiteral("MEMO");
        const QString huge(3'000'000, QLatin1Char('x'));
        for (int i = 0; i < 200; ++i) {
            RowSetRow row;
            row.values = {i, i == 7 ? huge : QStringLiteral("short")};
            rs.rows.append(row);
        }
        QVERIFY(RowSetXml::Save(rs, file));
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/attendance-admin"),
                {QStringLiteral("dump"), file});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        // 200 rows of a few dozen columns each, not 200 times 3 million.
        QVERIFY2(out.size() < 40000, qPrintable(QString::number(out.size())));
        QVERIFY(out.contains(QStringLiteral("are cut")));
        QVERIFY(out.contains(QString(57, QLatin1Char('x')) + QStringLiteral("...")));
        QVERIFY(out.contains(QStringLiteral("199  short\n")));
    }
};

QTEST_GUILESS_MAIN(TestDump)
#include "tst_dump.moc"
