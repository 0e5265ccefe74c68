// JpegSymbolStore: symbols read back as they were put, also from the pieces
// that went to the temporary file, any number of times.
#include "imaging/JpegSymbolStore.h"

#include <QTest>

class tst_JpegSymbolStore : public QObject {
    Q_OBJECT

private slots:
    void readsBackThroughTheFile() {
        // Pieces of 7 bytes, two in memory: most of them go to the file.
        JpegSymbolStore store(7, 2);
        const auto symbolOf = [](int i) { return (i * 37) & 0xFF; };
        const auto extraOf = [](int i, int nbits) {
            return quint32(i * 2654435761u) >> (32 - nbits);
        };
        for (int i = 0; i < 1000; ++i) {
            const int nbits = i % 17;
            store.Put(symbolOf(i), nbits ? extraOf(i, nbits) : 0, nbits);
        }
        QVERIFY(store.Ok());
        for (int pass = 0; pass < 2; ++pass) {
            JpegSymbolStore::Reader in(store);
            for (int i = 0; i < 1000; ++i) {
                const int nbits = i % 17;
                QCOMPARE(in.Symbol(), symbolOf(i));
                QCOMPARE(in.Extra(nbits), nbits ? extraOf(i, nbits) : 0u);
            }
            QVERIFY(in.Ok());
        }
    }
};

QTEST_GUILESS_MAIN(tst_JpegSymbolStore)
#include "tst_JpegSymbolStore.moc"
