#include "station/ScanWorker.h"

#include "session/MainSession.h"
#include "shared/base/AppClock.h"
#include "shared/db/StatementWatchdog.h"
#include "shared/offline/OfflineStation.h"
#include "shared/offline/ScanJournal.h"
#include "shared/records/clsEmployee.h"

namespace {

// Whether the server answers on the thread's session, its connection opened
// (when it must be) within the scans' bound as well.
bool serverAnswers() {
    const StatementWatchdog::Quick quick;
    return OfflineStation::ServerAnswers(MainSession::Get());
}

} // namespace

ScanWorker::ScanWorker(const QString& journalFile) : m_journalFile(journalFile) {}

ScanWorker::~ScanWorker() = default;

std::optional<ScanOutcome> ScanWorker::apply(const QString& scanId, const QString& barcode,
                                             const QDateTime& at, qint16 greeted) {
    // Every statement of a scan, a connection opened for it too, waits seconds at most.
    const StatementWatchdog::Quick quick;
    ScanOutcome o;
    o.scanId = scanId;
    clsEmployee employee(MainSession::Get());
    employee.setEBARCODE(barcode);
    // The look-up and the record, on a server in one round trip.
    clsPresence presence;
    o.found = presence.AddCard(MainSession::Get(), employee, at, scanId, &o.state);
    if (o.found == clsEmployee::Lookup::Failed)
        return serverAnswers() ? std::optional(o) : std::nullopt;
    if (o.found == clsEmployee::Lookup::NotFound)
        return o; // an unknown card: nothing written
    o.number = employee.ENUMBER();
    o.name = employee.ENAME();
    o.department = employee.DNAME();
    o.record = presence;
    if (o.state == clsPresence::AlreadyReplayed)
        o.state = greeted; // recorded before a crash kept the journal from knowing
    // A failure the server answered (a lock held too long, a refused write)
    // is reported; a server gone leaves the scan waiting.
    if ((o.state == clsPresence::Error || o.state == clsPresence::WriteFailed) &&
        !serverAnswers()) {
        qWarning("scan %s: state %d, server away", qPrintable(scanId), o.state);
        return std::nullopt;
    }
    // Decoded by the service, which has the copy's picture decoded meanwhile.
    o.photoBytes = employee.HeadImgBytes();
    return o;
}

void ScanWorker::Take(const ScanJournal::Entry& entry) {
    // A scan without its place in the journal has the next run read it.
    if (entry.seq <= 0) {
        m_caughtUp = false;
        return;
    }
    if (m_given.size() >= MaxGiven) {
        m_given.clear(); // the journal holds them all: read it again
        m_caughtUp = false;
    }
    m_given.push_back(entry);
}

bool ScanWorker::applyEntry(const ScanJournal::Entry& e) {
    const std::optional<ScanOutcome> o = apply(e.scanId, e.barcode, e.at, e.state);
    // A failure the server answered may pass (a lock held too long): the
    // scan stays first in the journal and is tried again with the others,
    // and ends with its failure only after MaxAttempts, so one bad record
    // cannot hold the scans behind it for ever.
    const bool failed =
        o && (o->found == clsEmployee::Lookup::Failed || o->state == clsPresence::Error ||
              o->state == clsPresence::WriteFailed);
    if (failed && ++m_failures[e.scanId] < MaxAttempts) {
        emit Applied(*o);
        return false;
    }
    m_failures.remove(e.scanId);
    if (!o)
        return false;
    // Greeted before the mark: a scan the server has is recorded whether or
    // not the journal learns it (should the mark fail, the next run finds it
    // on the server and records nothing more).
    emit Applied(*o);
    if (!m_journal->MarkReplayed({{e.scanId, o->state, o->number}}))
        return false;
    m_lastSeq = qMax(m_lastSeq, e.seq);
    return true;
}

bool ScanWorker::drainJournal(bool* asked, bool* toItsEnd) {
    for (;;) {
        bool read = false;
        const QVector<ScanJournal::Entry> batch = m_journal->Pending(BatchSize, &read);
        for (const ScanJournal::Entry& e : batch) {
            *asked = true;
            if (!applyEntry(e))
                return false;
        }
        // A short batch was all the journal held: a scan journalled after
        // this read is given (Take) and has the service start another run.
        // A journal that could not be read is read again by the next run.
        if (batch.size() < BatchSize) {
            *toItsEnd = read;
            return true;
        }
    }
}

void ScanWorker::Drain() {
    if (!m_journal) {
        m_journal = std::make_unique<ScanJournal>(m_journalFile);
        // Only the scans themselves (the service's connection) wait for the
        // disk; a greeting does not wait for its mark to be flushed.
        m_journal->SetFlushOnCommit(false);
    }
    bool answered = m_journal->IsOpen();
    bool asked = false;
    if (answered && m_caughtUp) {
        // Every waiting scan was given, in journal order: none is read back.
        // Those a run read from the journal and applied are done.
        while (answered && !m_given.empty()) {
            if (m_given.front().seq > m_lastSeq) {
                asked = true;
                answered = applyEntry(m_given.front());
            }
            if (answered)
                m_given.pop_front();
        }
        m_caughtUp = answered;
    } else if (answered) {
        bool toItsEnd = false;
        answered = drainJournal(&asked, &toItsEnd);
        m_caughtUp = answered && toItsEnd;
    }
    // Nothing to give: asked whether the server answers at all (start-up, a retry).
    if (answered && !asked)
        answered = serverAnswers();
    // The day's scans stay for the rule while the server is away; older ones go.
    const QDate today = AppClock::now().date();
    if (answered && m_prunedFor != today && m_journal->Prune(QDateTime(today, QTime(0, 0))))
        m_prunedFor = today;
    emit Drained(answered);
}

void ScanWorker::Finish() {
    m_journal.reset();
    MainSession::Close();
}
