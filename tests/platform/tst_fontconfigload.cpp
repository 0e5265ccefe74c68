// fontconfig loaded on a thread of its own at start: the load average read
// that decides where the thread starts, and a load that ends on any set of
// processors the program may be given.
#include "platform/FontConfigLoad.h"

#include <QtTest>

#include <fontconfig/fontconfig.h>
#include <sched.h>

class tst_FontConfigLoad : public QObject {
    Q_OBJECT

private slots:
    void aloneRunning_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("alone");
        QTest::newRow("this task alone") << QByteArray("0.00 0.01 0.05 1/345 6789\n") << true;
        QTest::newRow("one more") << QByteArray("0.00 0.01 0.05 2/345 6789\n") << false;
        QTest::newRow("twelve") << QByteArray("1.20 0.80 0.50 12/345 6789\n") << false;
        QTest::newRow("ten and more, starting with 1")
            << QByteArray("1.20 0.80 0.50 10/345 6789\n") << false;
        QTest::newRow("no count") << QByteArray("0.00 0.01 0.05\n") << false;
        QTest::newRow("not a number") << QByteArray("0.00 0.01 0.05 x/345 6789\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void aloneRunning() {
        QFETCH(QByteArray, text);
        QFETCH(bool, alone);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("loadavg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        QCOMPARE(FontConfigLoad::AloneRunning(QFile::encodeName(path).constData()), alone);
    }
    void aloneRunningWithoutTheFile() {
        QTemporaryDir dir;
        QVERIFY(!FontConfigLoad::AloneRunning(
            QFile::encodeName(dir.filePath(QStringLiteral("missing"))).constData()));
    }

    // On one processor (no other to start on) and on all of them, waited for
    // twice: each load ends, the caller keeps its own processors, and
    // fontconfig has its fonts afterwards.
    void loadsOnAnyProcessors() {
        cpu_set_t all;
        QCOMPARE(sched_getaffinity(0, sizeof all, &all), 0);
        int first = 0;
        while (!CPU_ISSET(first, &all))
            ++first;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(first, &one);
        for (const cpu_set_t* set : {&one, &all}) {
            QCOMPARE(sched_setaffinity(0, sizeof *set, set), 0);
            FontConfigLoad load;
            load.Wait();
            load.Wait();
            cpu_set_t now;
            QCOMPARE(sched_getaffinity(0, sizeof now, &now), 0);
            QVERIFY(CPU_EQUAL(&now, set));
        }
        QCOMPARE(sched_setaffinity(0, sizeof all, &all), 0);
        FcFontSet* fonts = FcConfigGetFonts(nullptr, FcSetSystem);
        QVERIFY(fonts && fonts->nfont > 0);
    }
};

QTEST_GUILESS_MAIN(tst_FontConfigLoad)
#include "tst_fontconfigload.moc"
