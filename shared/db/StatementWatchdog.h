#pragma once

#include <QObject>
#include <QPointer>
#include <QSqlDatabase>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class QSqlDriver;

// Bounds how long a statement on a server connection may wait for an answer.
// The server ends its own statements after a few seconds (the session's
// statement_timeout), and the network settings of the connection end a link
// whose data goes unacknowledged; neither helps when the server's machine
// still acknowledges but its server does not answer (stopped, swapping, hung).
// Then a thread of this object shuts the connection's socket after the
// limit, so the waiting statement fails at once and the connection counts as
// lost. The statements of a scan (inside a Quick scope) wait QuickLimitMs, so
// a scan ends or goes to the journal within seconds; every other statement
// waits LimitMs, long enough for an export or a report of a large site over
// a slow network.
// Owned by the connection's driver; one thread per server connection, idle
// between statements. Neither Guard nor Quick holds anything that closing or
// reopening the connection frees.
class StatementWatchdog : public QObject {
    Q_OBJECT

public:
    static constexpr int QuickLimitMs = 3000;
    // Somewhat longer than the server's own statement limit, so a slow but
    // answering server ends the statement itself and keeps the connection.
    static constexpr int LimitMs = 60000;
    // After a cut, how long (AppClock) the connection is not opened anew: a
    // server that did not answer a moment ago makes each new attempt wait as
    // long again.
    static constexpr int HoldOffMs = 15000;

    explicit StatementWatchdog(QObject* parent) : QObject(parent) {}
    ~StatementWatchdog() override;

    // Watches what the connection of `db` (or of `driver`) waits for while it
    // lives: a statement's preparing, running, rows and release (nothing on
    // a file or a closed connection). Guards may nest and end in any order;
    // the newest one alive is watched. One that outlives its connection
    // (closed, reopened or dropped meanwhile) touches nothing of it.
    class Guard {
    public:
        explicit Guard(const QSqlDatabase& db);
        explicit Guard(QSqlDriver* driver);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        QPointer<StatementWatchdog> m_dog;
        quint64 m_ticket = 0;
    };

    // While it lives, every statement of this thread waits QuickLimitMs at
    // most, on whichever connection, a reopened one too. The connection
    // argument is no longer needed and only kept for existing callers.
    class Quick {
    public:
        Quick();
        explicit Quick(const QSqlDatabase&) : Quick() {}
        ~Quick();
        Quick(const Quick&) = delete;
        Quick& operator=(const Quick&) = delete;

        // Whether a Quick scope is open on this thread.
        static bool Active();
    };

    // Whether the watchdog of `db` cut its connection less than HoldOffMs ago.
    static bool RecentlyCut(const QSqlDatabase& db);
    // Watches no more statements of `db` (bulk copies of the tools).
    static void Lift(const QSqlDatabase& db);

private:
    using Clock = std::chrono::steady_clock;
    struct Watched {
        quint64 ticket;
        int socket; // a duplicate of the connection's, so it names no other after a close
        Clock::time_point deadline;
        bool cut;
    };
    quint64 arm(int socket, int limitMs);
    void disarm(quint64 ticket);
    void watch();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    std::vector<Watched> m_watched; // the guards alive, newest last
    quint64 m_lastTicket = 0;
    // What the thread sleeps until (max: until woken), so that arming wakes
    // it only for a deadline before that; statements in a row cost no wake.
    Clock::time_point m_sleepsUntil = Clock::time_point::max();
    bool m_stop = false;
    // The connection's thread only:
    bool m_lifted = false;
    qint64 m_cutAtMs = 0; // AppClock time a cut statement ended; 0: none
};
