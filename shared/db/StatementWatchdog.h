#pragma once

#include <QObject>
#include <QSqlDatabase>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

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
// between statements.
class StatementWatchdog : public QObject {
    Q_OBJECT

public:
    static constexpr int QuickLimitMs = 3000;
    // Somewhat longer than the server's own statement limit, so a slow but
    // answering server ends the statement itself and keeps the connection.
    static constexpr int LimitMs = 60000;
    // After a cut, how long the connection is not opened anew: a server that
    // did not answer a moment ago makes each new attempt wait as long again.
    static constexpr int HoldOffMs = 15000;

    explicit StatementWatchdog(QObject* parent) : QObject(parent) {}
    ~StatementWatchdog() override;

    // Watches one statement of `db` (a server connection; nothing otherwise)
    // for as long as it lives.
    class Guard {
    public:
        explicit Guard(const QSqlDatabase& db);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        StatementWatchdog* m_dog = nullptr;
    };

    // While it lives, the statements of `db` wait QuickLimitMs at most.
    class Quick {
    public:
        explicit Quick(const QSqlDatabase& db);
        ~Quick();
        Quick(const Quick&) = delete;
        Quick& operator=(const Quick&) = delete;

    private:
        StatementWatchdog* m_dog = nullptr;
    };

    // Whether the watchdog of `db` cut its connection less than HoldOffMs ago.
    static bool RecentlyCut(const QSqlDatabase& db);
    // Watches no more statements of `db` (bulk copies of the tools).
    static void Lift(const QSqlDatabase& db);

private:
    using Clock = std::chrono::steady_clock;
    void arm(int socket);
    void disarm();
    void watch();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    int m_socket = -1; // the socket of the statement watched, -1 when none
    Clock::time_point m_deadline;
    // What the thread sleeps until (max: until woken), so that arming wakes
    // it only for a deadline before that; statements in a row cost no wake.
    Clock::time_point m_sleepsUntil = Clock::time_point::max();
    Clock::time_point m_cutAt;
    bool m_cut = false;
    bool m_stop = false;
    bool m_lifted = false;
    int m_quick = 0; // open Quick scopes (the connection's thread only)
};
