#include "signdesk/TodayListModel.h"

#include "platform/ChineseUi.h"
#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/records/clsPresenceSet.h"

#include <algorithm>
#include <iterator>
#include <numeric>

namespace {

const QString kKeyPrefix = QStringLiteral("KEYPRE");
constexpr const char* kCaptions[TodayListModel::ColumnCount] = {
    QT_TRANSLATE_NOOP("TodayListModel", "员工号"), QT_TRANSLATE_NOOP("TodayListModel", "姓名"),
    QT_TRANSLATE_NOOP("TodayListModel", "签到时间"),
    QT_TRANSLATE_NOOP("TodayListModel", "签退时间")};

qint64 orderOf(const QDateTime& t) {
    return t.date().toJulianDay() * 86400000 + t.time().msecsSinceStartOfDay();
}

QString exitText(const QDateTime& exit) {
    return exit.isValid() && !DbDateTime::IsZero(exit) ? ChineseUi::GeneralDateTime(exit)
                                                       : QString();
}

bool sameKey(const std::optional<TodayListModel::SortKey>& a,
             const std::optional<TodayListModel::SortKey>& b) {
    if (!a || !b)
        return !a && !b;
    return a->column == b->column && a->order == b->order;
}

} // namespace

TodayListModel::TodayListModel(QObject* parent) : QAbstractTableModel(parent) {
    setObjectName(QStringLiteral("todayListModel"));
}

bool TodayListModel::Reload(const std::optional<SortKey>& key) {
    beginResetModel();
    m_rows.clear();
    m_day = AppClock::now().date();
    clsPresenceSet today;
    const bool ok = today.LoadToday(MainSession::Get());
    if (ok) {
        m_rows.reserve(today.Count());
        for (const clsPresence& p : today)
            m_rows.push_back({p.ENUMBER(), p.ENAME(), ChineseUi::GeneralDateTime(p.enterTime()),
                              exitText(p.exitTime()), orderOf(p.enterTime())});
    } else {
        m_rows.clear();
    }
    m_shown = CanonicalOrder(key);
    m_arrangedBy = key;
    m_canonical = true;
    endResetModel();
    return ok;
}

bool TodayListModel::Apply(qint16 state, const clsPresence& record,
                           const std::optional<SortKey>& key) {
    if (state != clsPresence::Arrival && state != clsPresence::Departure)
        return true; // nothing was written
    const QDateTime at = state == clsPresence::Arrival ? record.enterTime() : record.exitTime();
    if (at.date() != m_day)
        return false;
    if (state == clsPresence::Departure)
        return SetDeparture(record.ENUMBER(), ChineseUi::GeneralDateTime(at), key);
    AddArrival(
        {record.ENUMBER(), record.ENAME(), ChineseUi::GeneralDateTime(at), QString(), orderOf(at)},
        key);
    return true;
}

void TodayListModel::AddArrival(Row row, const std::optional<SortKey>& key) {
    // Its place in the load's order: after every earlier arrival and, at the
    // same time, after the lower numbers.
    const auto at =
        std::upper_bound(m_rows.begin(), m_rows.end(), row, [](const Row& a, const Row& b) {
            return a.order != b.order ? a.order < b.order : a.number < b.number;
        });
    const int loadIndex = int(at - m_rows.begin());
    const bool inPlace = m_canonical && sameKey(key, m_arrangedBy);
    int shownAt = int(m_shown.size());
    if (inPlace && !key) {
        shownAt = loadIndex;
    } else if (inPlace) {
        // Rows before loadIndex precede the new one in the load's order.
        const auto pos = std::partition_point(m_shown.begin(), m_shown.end(), [&](int i) {
            return Before(m_rows[i], row, *key) || (!Before(row, m_rows[i], *key) && i < loadIndex);
        });
        shownAt = int(pos - m_shown.begin());
    }
    beginInsertRows({}, shownAt, shownAt);
    m_rows.insert(at, std::move(row));
    for (int& i : m_shown)
        if (i >= loadIndex)
            ++i;
    m_shown.insert(m_shown.begin() + shownAt, loadIndex);
    endInsertRows();
    if (!inPlace)
        Arrange(CanonicalOrder(key));
    m_arrangedBy = key;
    m_canonical = true;
}

bool TodayListModel::SetDeparture(const QString& number, const QString& exit,
                                  const std::optional<SortKey>& key) {
    std::vector<int> changed;
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (m_rows[i].number == number)
            changed.push_back(i);
    if (changed.empty())
        return false;
    // Every listed row of the number receives the departure, as in the table.
    for (int i : changed)
        m_rows[i].exit = exit;
    for (int shown = 0; shown < int(m_shown.size()); ++shown)
        if (m_rows[m_shown[shown]].number == number)
            emit dataChanged(index(shown, 3), index(shown, 3));
    const bool inPlace = m_canonical && sameKey(key, m_arrangedBy) && (!key || key->column != 3);
    if (!inPlace)
        Arrange(CanonicalOrder(key));
    m_arrangedBy = key;
    m_canonical = true;
    return true;
}

int TodayListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

int TodayListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TodayListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_shown.size()))
        return {};
    const Row& r = m_rows[m_shown[index.row()]];
    if (role == Qt::UserRole && index.column() == 0)
        return kKeyPrefix + r.number;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return r.number;
    case 1:
        return r.name;
    case 2:
        return r.enter;
    case 3:
        return r.exit.isEmpty() ? QVariant() : QVariant(r.exit);
    default:
        return {};
    }
}

QVariant TodayListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return tr(kCaptions[section]);
}

void TodayListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    std::vector<int> shown = m_shown;
    const SortKey key{column, order};
    std::stable_sort(shown.begin(), shown.end(),
                     [&](int a, int b) { return Before(m_rows[a], m_rows[b], key); });
    Arrange(std::move(shown));
    m_canonical = false; // ties keep the order shown before, not the load's
}

// Texts by character code; a row without a departure sorts after every time.
bool TodayListModel::Before(const Row& a, const Row& b, const SortKey& key) const {
    const Row& x = key.order == Qt::AscendingOrder ? a : b;
    const Row& y = key.order == Qt::AscendingOrder ? b : a;
    switch (key.column) {
    case 0:
        return x.number < y.number;
    case 1:
        return x.name < y.name;
    case 2:
        return x.enter < y.enter;
    default:
        if (x.exit.isEmpty())
            return false;
        return y.exit.isEmpty() || x.exit < y.exit;
    }
}

std::vector<int> TodayListModel::CanonicalOrder(const std::optional<SortKey>& key) const {
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    if (key)
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return Before(m_rows[a], m_rows[b], *key); });
    return order;
}

void TodayListModel::Arrange(std::vector<int> order) {
    if (order == m_shown)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> rowOf(m_rows.size());
    for (int shown = 0; shown < int(order.size()); ++shown)
        rowOf[order[shown]] = shown;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after << index(rowOf[m_shown[i.row()]], i.column());
    m_shown = std::move(order);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
