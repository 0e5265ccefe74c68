#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <map>
#include <vector>

class Error;
class DbSession;

// Corrections of the presence records made in the office: a missing arrival
// or departure added, a time changed, a wrong record removed. Each changes
// the day's first record by time alone (a day may hold more: imports, other
// tools), as the station writes it (one arrival and at most one departure,
// the departure after the arrival), together with its row of
// the trail (table Correction, only ever added to) in one transaction that
// holds the employee's number as the sign-in rule does. A day of a closed
// month (clsMonthClose) is never corrected. Everything reads and writes on
// the session given; a writer's transaction there is a savepoint inside the
// caller's when one is open.
class clsCorrection {
public:
    // Replay: a scan a station kept while the server was away, recorded
    // afterwards in a month closed meanwhile. Password: a new administrator
    // password (attendance-admin set-admin-password).
    enum class Action { Add, Change, Remove, Close, Reopen, Replay, Password };
    // "add", "change", "remove", "close", "reopen", "replay", "password" (the
    // trail's ACTION).
    static QString ActionKey(Action action);
    static bool ParseAction(const QString& key, Action* out);

    // Who corrects: the operating system's login, the host and the program.
    struct Operator {
        QString login, host, program;
        static Operator Current();
    };

    enum class Result {
        Done,
        EmptyReason,            // no reason given
        NoEmployee,             // no employee of that number
        MonthClosed,            // the day's month is closed
        FutureTime,             // a time after now
        NoRecord,               // change, remove: the day has no record
        SecondArrival,          // add: the day has an arrival already
        DepartureExists,        // add: the day has a departure already
        NoArrival,              // a departure on a day without an arrival
        DepartureBeforeArrival, // a departure not after the arrival
        NothingGiven,           // add, change: neither time given
        CurrentMonth,           // closing the current or a future month
        AlreadyClosed,          // closing a closed month
        NotClosed,              // reopening a month that is not closed
        WrongPassword,          // reopening without the administrator password
        Failed                  // the database refused (why in *error)
    };

    // A correction of one employee's day; a time not given is null.
    struct Request {
        Action action = Action::Add;
        QString number;
        QDate date;
        QTime arrival, departure;
        QString reason;
    };
    static Result Apply(DbSession& session, const Request& request, const Operator& who,
                        Error* error = nullptr);
    // What Apply would answer now, the reason aside, without writing: so a
    // window refuses a correction before asking for its reason (Apply
    // decides again in its transaction).
    static Result Check(DbSession& session, const Request& request, Error* error = nullptr);

    // One day of an employee as the corrections window lists it: its first
    // record by time (times invalid: none), which a correction changes, and
    // how many other records the day holds (imports, other tools), which it
    // leaves as they are.
    struct Day {
        QString number, name;
        QDate date;
        QDateTime arrival, departure;
        int others = 0;
    };
    // Every day from `from` to `to` of the employee (days without a record too).
    static bool EmployeeDays(DbSession& session, const QString& number, const QDate& from,
                             const QDate& to, std::vector<Day>* out, Error* error = nullptr);
    // Every employee of the department on one day, by number.
    static bool DepartmentDay(DbSession& session, int deptId, const QDate& day,
                              std::vector<Day>* out, Error* error = nullptr);

    // A row of the trail; for closing and reopening `number` is empty and
    // `newArrival` the month's first day.
    struct TrailRow {
        qint64 id = 0;
        QDateTime when;
        QString login, host, program, number;
        Action action = Action::Add;
        QDateTime oldArrival, oldDeparture, newArrival, newDeparture;
        QString reason;
    };
    // The trail in the order written, made from `from` to `to` (null: open
    // ends), of one employee (empty: all, months' closings included).
    static bool Trail(DbSession& session, const QDate& from, const QDate& to, const QString& number,
                      std::vector<TrailRow>* out, Error* error = nullptr);
    // The corrected days of a month: number → day of the month → the last
    // correction's action (Add, Change or Remove).
    using Marks = std::map<QString, std::map<int, Action>>;
    static bool MonthMarks(DbSession& session, int year, int month, Marks* out,
                           Error* error = nullptr);

    // Whether the server's own functions write the trail, the closings and
    // the corrections on `session` (a server database with its guards in
    // place: DbDialect::GuardStatements); else the programs' statements do.
    static bool ServerWritesTrail(DbSession& session);

    // Writes a row of the trail in a transaction of its own (a savepoint
    // inside the caller's, which then commits it).
    static bool WriteTrail(DbSession& session, const TrailRow& row, Error* error = nullptr);
    // Inside the sign-in rule's transaction on `session`, just before the scan
    // `scanId` is written into a closed month (by PresenceWriter): the trail row of the replay
    // naming the record (arrival: old times null; departure: the record's
    // stored arrival, old and new). Times are the stored texts, empty: none.
    struct ReplayChange {
        QString number, scanId;
        QString oldEnter, oldExit, newEnter, newExit;
    };
    static bool WriteReplayTrail(DbSession& session, const ReplayChange& change,
                                 Error* error = nullptr);
    // The trail row of a new administrator password (no employee, times or
    // reason), written by the server's function where it writes the trail;
    // in a transaction of its own, a savepoint inside the caller's.
    static bool WritePasswordTrail(DbSession& session, const Operator& who, Error* error = nullptr);
};
