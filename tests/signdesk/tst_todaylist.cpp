// Today's list takes a scan's one row exactly as a full reload shows it:
// unsorted and by every column both ways, also after a header sort left
// ties in another order; another day asks for a reload.
#include "tests/common/TestProgramDir.h"

#include "shared/base/AppClock.h"
#include "shared/records/clsPresence.h"
#include "signdesk/TodayListModel.h"

#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 3, 18), QTime(9, 30, 0));
using Key = std::optional<TodayListModel::SortKey>;

QStringList shown(const TodayListModel& m) {
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < TodayListModel::ColumnCount; ++c)
            cells << m.index(r, c).data().toString();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace

class tst_TodayList : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramDir> fx;

    // Records a scan of `number` at `at` and hands it to the list.
    bool scan(TodayListModel& m, const QString& number, const QString& name, const QDateTime& at,
              const Key& key) {
        AppClock::setFixed(at);
        clsPresence p;
        p.setENUMBER(number);
        p.setENAME(name);
        return m.Apply(p.Add(fx->session()), p, key);
    }

private slots:
    void init() {
        AppClock::setFixed(kNow);
        fx = std::make_unique<TestProgramDir>();
        QVERIFY2(fx->init(), qPrintable(fx->lastError));
        QVERIFY(fx->addDept(1, "教务处"));
        const char* names[] = {"Bob", "Alice", "Bob", "Carol", "Alice", "Dan"};
        for (int i = 0; i < 6; ++i)
            QVERIFY(fx->addEmployee(QStringLiteral("00%1").arg(i + 1), names[i],
                                    QStringLiteral("9000%1").arg(i), 1));
        // Equal names and equal times, departed and not.
        QVERIFY(fx->addPresence("003", kNow.addSecs(-3600), kNow.addSecs(-600)) &&
                fx->addPresence("001", kNow.addSecs(-3600)) &&
                fx->addPresence("002", kNow.addSecs(-1800), kNow.addSecs(-600)) &&
                fx->addPresence("004", kNow.addSecs(-1800)));
    }
    void cleanup() {
        fx.reset();
        AppClock::reset();
    }

    void scansEqualReload_data() {
        QTest::addColumn<int>("column"); // -1: not sorted
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("headerSortFirst"); // -1: none
        for (int c = -1; c < TodayListModel::ColumnCount; ++c)
            for (int o : {0, 1})
                for (int first : {-1, 1, 3})
                    QTest::addRow("col%d-%s-after%d", c, o ? "desc" : "asc", first)
                        << c << o << first;
    }
    void scansEqualReload() {
        QFETCH(int, column);
        QFETCH(int, order);
        QFETCH(int, headerSortFirst);
        const Key key = column < 0 ? Key() : Key({column, Qt::SortOrder(order)});
        TodayListModel list;
        QVERIFY(list.Reload(key));
        if (headerSortFirst >= 0)
            list.sort(headerSortFirst, Qt::SortOrder(1 - order));
        QVERIFY(scan(list, "006", "Dan", kNow, key));               // arrival
        QVERIFY(scan(list, "005", "Alice", kNow, key));             // same time, lower number
        QVERIFY(scan(list, "001", "Bob", kNow.addSecs(5), key));    // departure
        QVERIFY(scan(list, "006", "Dan", kNow.addSecs(20), key));   // repeated
        QVERIFY(scan(list, "004", "Carol", kNow.addSecs(30), key)); // departure
        QVERIFY(scan(list, "003", "Bob", kNow.addSecs(40), key));   // already departed
        TodayListModel reloaded;
        QVERIFY(reloaded.Reload(key));
        QCOMPARE(shown(list), shown(reloaded));
        QCOMPARE(list.rowCount(), 6);

        // After midnight only a reload shows the new day.
        QVERIFY(!scan(list, "002", "Alice", kNow.addDays(1), key));
        QCOMPARE(list.rowCount(), 6);
    }
};

QTEST_GUILESS_MAIN(tst_TodayList)
#include "tst_todaylist.moc"
