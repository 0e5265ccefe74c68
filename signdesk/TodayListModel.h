#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QString>
#include <optional>
#include <vector>

class clsPresence;

// Today's records as the station lists them: number, name, arrival and
// departure. A full load reads the day from the database; a scan recorded
// by this station changes one row (an arrival adds it, a departure updates
// it), so the list needs no reload between scans.
//
// The rows keep the load's order (by arrival time, then number). Shown,
// they are either in that order or arranged by a column: a stable sort of
// the load's order, texts compared by character code, a missing departure
// after every time. An incremental change leaves the list exactly as a
// full reload would arrange it.
class TodayListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct SortKey {
        int column = 0;
        Qt::SortOrder order = Qt::AscendingOrder;
    };
    static constexpr int ColumnCount = 4;

    explicit TodayListModel(QObject* parent = nullptr);

    // Reads the records of AppClock's day and arranges them by `key` when
    // given. False on a database error; the list is empty then.
    bool Reload(const std::optional<SortKey>& key);
    // Takes the outcome of one scan of this station (clsPresence::State and
    // the record as written: number, name and the time written). False when
    // only a reload can show it (another day, or a departure whose number is
    // not listed); nothing is changed then.
    bool Apply(qint16 state, const clsPresence& record, const std::optional<SortKey>& key);
    // The day the list shows.
    QDate Day() const { return m_day; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // A stable sort of the rows as shown, as a click on a header does.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Row {
        QString number, name, enter, exit; // exit empty: not departed
        qint64 order = 0;                  // arrival in milliseconds of the day's calendar
    };
    bool Before(const Row& a, const Row& b, const SortKey& key) const;
    void AddArrival(Row row, const std::optional<SortKey>& key);
    bool SetDeparture(const QString& number, const QString& exit,
                      const std::optional<SortKey>& key);
    // Shows the rows in `order` (load indexes), keeping selections on their rows.
    void Arrange(std::vector<int> order);
    std::vector<int> CanonicalOrder(const std::optional<SortKey>& key) const;

    std::vector<Row> m_rows;  // in the load's order
    std::vector<int> m_shown; // load indexes, top to bottom
    bool m_canonical = true;  // m_shown is the arrangement of m_arrangedBy
    std::optional<SortKey> m_arrangedBy;
    QDate m_day;
};
