// The scanner's keys into barcodes: terminators, dropped characters, blanks
// and the two-second pause, as tables of key strings.
#include "shared/base/AppClock.h"
#include "signdesk/ScanInput.h"
#include "signdesk/frmScanTest.h"
#include "tests/common/TestProgramDir.h"

#include <QtTest>
#include <QtWidgets>

class tst_ScanInput : public QObject {
    Q_OBJECT

private slots:
    // Each character is one key 5 ms after the one before, its text the
    // character, except: ⏎ Return, ⌤ keypad Enter, ⇥ Tab and ⎋ Escape as keys
    // (⎋ without text); … waits 2000 ms and · 1999 ms before the next key.
    void keysToBarcodes_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("barcodes");
        QTest::newRow("STX prefix, ETX suffix, Return") << "\u0002123\x03⏎" << QStringList{"123"};
        QTest::newRow("GS suffix, Tab") << "AB12\x1d⇥" << QStringList{"AB12"};
        QTest::newRow("keypad Enter") << "42⌤" << QStringList{"42"};
        QTest::newRow("CR LF as text") << "42\r\n" << QStringList{"42", ""};
        QTest::newRow("LF, tab as text") << "7\n8\t" << QStringList{"7", "8"};
        QTest::newRow("blanks at the ends") << "  12 34 \x1d ⏎" << QStringList{"12 34"};
        QTest::newRow("DEL, zero width, Escape key") << "1\u007f2\u200b3⎋⏎" << QStringList{"123"};
        QTest::newRow("2 s pause starts anew") << "99…12⏎" << QStringList{"12"};
        QTest::newRow("1.999 s pause keeps") << "99·12⏎" << QStringList{"9912"};
        QTest::newRow("pause before Return keeps") << "12…⏎" << QStringList{"12"};
        QTest::newRow("nothing before Return") << "⏎" << QStringList{""};
    }

    void keysToBarcodes() {
        QFETCH(QString, keys);
        QFETCH(QStringList, barcodes);
        ScanInput input;
        QStringList done;
        qint64 ms = 1000;
        for (const QChar c : keys) {
            const auto feed = [&](int key, const QString& text) {
                done += input.Feed(key, text, ms);
            };
            if (c == u'…' || c == u'·') {
                ms += c == u'…' ? 1995 : 1994;
                continue;
            }
            ms += 5;
            if (c == u'⏎' || c == u'⌤')
                feed(c == u'⏎' ? Qt::Key_Return : Qt::Key_Enter, QStringLiteral("\r"));
            else if (c == u'⇥')
                feed(Qt::Key_Tab, QStringLiteral("\t"));
            else if (c == u'⎋')
                feed(Qt::Key_Escape, QString());
            else
                feed(Qt::Key_unknown, QString(c));
        }
        QCOMPARE(done, barcodes);
        QVERIFY(input.Gathered().isEmpty());
    }

    // The scan test window lists every key, Tab included (invisible
    // characters by name, a key without a name in hex), and the barcode;
    // Escape and its button close it.
    void scanTestWindow() {
        QCOMPARE(ScanInput::Visible(QStringLiteral("\u0002A 1\x1d\r\x7f\u200b")),
                 QStringLiteral("<STX>A<SP>1<GS><CR><DEL><U+200B>"));
        QCOMPARE(ScanInput::KeyName(0), QStringLiteral("0x00"));
        AppClock::setFixed(QDateTime(QDate(2009, 11, 25), QTime(8, 0, 0)));
        frmScanTest dlg;
        dlg.show();
        const std::pair<Qt::Key, const char*> keys[] = {
            {Qt::Key_B, "\x02"}, {Qt::Key_1, "1"}, {Qt::Key_A, "a"}, {Qt::Key_Tab, "\t"}};
        for (const auto& [key, text] : keys) {
            QTest::sendKeyEvent(QTest::Click, &dlg, key, QString::fromLatin1(text), {});
            AppClock::advance(7);
        }
        auto* list = child<QTableWidget>(&dlg, "lstKeys");
        QCOMPARE(list->rowCount(), 4);
        QCOMPARE(list->item(0, 1)->text(), QStringLiteral("<STX>"));
        QCOMPARE(list->item(3, 0)->text(), QStringLiteral("Tab 0x1000001"));
        QCOMPARE(list->item(3, 2)->text(), QStringLiteral("7"));
        QCOMPARE(child<QLabel>(&dlg, "lblBarcode")->text(), QStringLiteral("条码：1A"));
        child<QPushButton>(&dlg, "cmdClear")->click();
        QCOMPARE(list->rowCount(), 0);
        // Escape closes instead of being listed; so does 关闭.
        QTest::sendKeyEvent(QTest::Click, &dlg, Qt::Key_Escape, QStringLiteral("\x1b"), {});
        QVERIFY(!dlg.isVisible());
        QCOMPARE(list->rowCount(), 0);
        dlg.show();
        child<QPushButton>(&dlg, "cmdClose")->click();
        QVERIFY(!dlg.isVisible());
        AppClock::reset();
    }
};

QTEST_MAIN(tst_ScanInput)
#include "tst_scaninput.moc"
