#include "shared/records/PresenceWriter.h"

#include "shared/db/DbDateTime.h"
#include "shared/db/DbDialect.h"
#include "shared/db/DbQuery.h"
#include "shared/db/DbSession.h"
#include "shared/records/clsCorrection.h"
#include "shared/records/clsMonthClose.h"

namespace {

QString text(const QDateTime& t) {
    return t.isValid() ? DbDateTime::ToText(t) : QString();
}

} // namespace

PresenceWriter::PresenceWriter(DbSession& session, Source source, const QString& number,
                               const QDate& day, const QString& scanId)
    : m_session(session), m_source(source), m_number(number), m_scanId(scanId), m_day(day) {}

PresenceWriter::Month PresenceWriter::CheckMonth() {
    if (m_checked)
        return m_month;
    m_checked = true;
    m_error = ::Error();
    if (m_session.Depth() == 0) {
        m_error = ::Error(QStringLiteral("a presence record is written inside a transaction"));
        return m_month = Month::Failed;
    }
    if (!clsMonthClose::HoldOpen(m_session, m_day, &m_closed, &m_error))
        return m_month = Month::Failed;
    return m_month = MayWrite(m_source, m_closed) ? Month::Writable : Month::Closed;
}

bool PresenceWriter::MayWrite(Source source, bool monthClosed) {
    return !monthClosed || source == Source::Replay;
}

bool PresenceWriter::writable() {
    switch (CheckMonth()) {
    case Month::Writable:
        return true;
    case Month::Closed:
        m_error = ::Error(QStringLiteral("the month %1 is closed: its presence records are not "
                                         "changed")
                              .arg(clsMonthClose::Key(m_day.year(), m_day.month())));
        return false;
    case Month::Failed:
        break;
    }
    return false;
}

bool PresenceWriter::exec(const QString& sql, const QVariantList& values) {
    return DbQuery::Exec(m_session, sql, values, &m_error) == 1;
}

bool PresenceWriter::replayTrail(const QString& oldIn, const QString& oldOut, const QString& newIn,
                                 const QString& newOut) {
    // Only a replay writes into a closed month, its trail row just before
    // the record: the closed month's guard looks for it.
    return !m_closed || m_source != Source::Replay ||
           clsCorrection::WriteReplayTrail(
               m_session, {m_number, m_scanId, oldIn, oldOut, newIn, newOut}, &m_error);
}

bool PresenceWriter::Insert(const QDateTime& arrival, const QDateTime& departure) {
    return writable() && replayTrail({}, {}, text(arrival), text(departure)) &&
           exec(QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) "
                               "VALUES(?, ?, ?)"),
                {m_number, text(arrival), DbQuery::TextOrNull(text(departure))});
}

bool PresenceWriter::SetDeparture(const PresenceDay::Record& first, const QDateTime& departure) {
    return writable() &&
           replayTrail(first.storedIn, first.storedOut, first.storedIn, text(departure)) &&
           exec(QStringLiteral("UPDATE Presence SET EXITTIME = ? WHERE ") + rowIs(),
                {DbQuery::TextOrNull(text(departure)), first.row});
}

bool PresenceWriter::Change(const PresenceDay::Record& record, const QDateTime& arrival,
                            const QDateTime& departure) {
    return writable() &&
           replayTrail(record.storedIn, record.storedOut, text(arrival), text(departure)) &&
           exec(QStringLiteral("UPDATE Presence SET ENTERTIME = ?, EXITTIME = ? WHERE ") + rowIs(),
                {DbQuery::TextOrNull(text(arrival)), DbQuery::TextOrNull(text(departure)),
                 record.row});
}

bool PresenceWriter::Remove(const PresenceDay::Record& record) {
    return writable() && replayTrail(record.storedIn, record.storedOut, {}, {}) &&
           exec(QStringLiteral("DELETE FROM Presence WHERE ") + rowIs(), {record.row});
}

QString PresenceWriter::rowIs() const {
    return DbDialect::RowIdEquals(m_session.Engine());
}
