#include "tools/admin/DemoData.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbDateTime.h"
#include "shared/db/DbErrors.h"
#include "tools/admin/DemoPhoto.h"

#include <QSqlError>
#include <QSqlQuery>
#include <random>

namespace DemoData {

namespace {

const char* const kDepartments[] = {"办公室", "教务处", "后勤部", "财务部"};

const char* const kNames[] = {"张伟", "王芳", "李娜", "刘洋", "陈静", "杨帆", "赵磊",
                              "黄丽", "周杰", "吴敏", "徐强", "孙燕", "马超", "朱婷",
                              "胡军", "郭玲", "何平", "林峰", "高洁", "罗斌"};
constexpr int kEmployeeCount = sizeof(kNames) / sizeof(kNames[0]);

// std::mt19937 gives the same sequence everywhere, so the demo cards are
// the same on every machine.
constexpr std::mt19937::result_type kBarcodeSeed = 20091125;
constexpr std::mt19937::result_type kTimeSeed = 8030;

int uniform(std::mt19937& rng, int lo, int hi) {
    return lo + static_cast<int>(rng() % static_cast<std::mt19937::result_type>(hi - lo + 1));
}

// Runs a prepared insert with its values bound in order.
bool insert(QSqlQuery& q, const QVariantList& values, Error* error) {
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    return q.exec() || DbErrors::From(q.lastError()).Report(error);
}

bool prepare(QSqlQuery& q, const QString& sql, Error* error) {
    return q.prepare(sql) || DbErrors::From(q.lastError()).Report(error);
}

bool addDepartments(QSqlDatabase db, QVector<int>* ids, Error* error) {
    QSqlQuery add(db), find(db);
    if (!prepare(add, QStringLiteral("INSERT INTO Dept(DNAME) VALUES(?)"), error) ||
        !prepare(find, QStringLiteral("SELECT MAX(ID) FROM Dept WHERE DNAME = ?"), error))
        return false;
    for (const char* name : kDepartments) {
        const QString dname = QString::fromUtf8(name);
        if (!insert(add, {dname}, error) || !insert(find, {dname}, error))
            return false;
        if (!find.next() || find.value(0).toInt() <= 0)
            return Error::Fail(error,
                                 QStringLiteral("department %1 not found after adding").arg(dname));
        ids->append(find.value(0).toInt());
        find.finish();
    }
    return true;
}

bool addEmployees(QSqlDatabase db, const QVector<int>& deptIds, Error* error) {
    QSqlQuery add(db);
    if (!prepare(add,
                 QStringLiteral("INSERT INTO Employee(DID, ENUMBER, EBARCODE, ENAME, HEADIMG, "
                                "ENTERDATE) VALUES(?, ?, ?, ?, ?, ?)"),
                 error))
        return false;
    const QStringList numbers = Numbers();
    const QStringList barcodes = Barcodes();
    std::mt19937 rng(kBarcodeSeed + 1);
    for (int i = 0; i < kEmployeeCount; ++i) {
        const QString name = QString::fromUtf8(kNames[i]);
        const QByteArray photo = DemoPhoto::Jpeg(DemoPhoto::Draw(name, i));
        if (photo.isEmpty())
            return Error::Fail(
                error, QStringLiteral("cannot encode the demo photo of %1").arg(numbers[i]));
        const QDateTime entered(QDate(2012, 9, 1).addDays(uniform(rng, 0, 3600)), QTime(0, 0));
        if (Error why; !insert(add,
                                 {deptIds[i % deptIds.size()], numbers[i], barcodes[i], name, photo,
                                  DbDateTime::ToText(entered)},
                                 &why))
            return why.Within(QStringLiteral("cannot add employee %1").arg(numbers[i]))
                .Report(error);
    }
    return true;
}

QDateTime at(const QDate& day, int secondsOfDay) {
    return QDateTime(day, QTime(0, 0).addSecs(secondsOfDay));
}

bool addPresence(QSqlDatabase db, int* rows, Error* error) {
    QSqlQuery insert(db);
    if (!insert.prepare(
            QStringLiteral("INSERT INTO Presence(ENUMBER, ENTERTIME, EXITTIME) VALUES(?, ?, ?)")))
        return DbErrors::From(insert.lastError()).Report(error);
    auto write = [&](const QString& number, const QDateTime& in, const QDateTime& out) {
        insert.bindValue(0, number);
        insert.bindValue(1, DbDateTime::ToText(in));
        insert.bindValue(2, out.isValid() ? QVariant(DbDateTime::ToText(out))
                                          : QVariant(QMetaType::fromType<QString>()));
        if (!insert.exec())
            return false;
        ++*rows;
        return true;
    };

    const QStringList numbers = Numbers();
    const QDateTime now = AppClock::now();
    const QDate today = now.date();
    const QDate first = QDate(today.year(), today.month(), 1).addMonths(-1);
    std::mt19937 rng(kTimeSeed);
    bool ok = true;
    // Working days from the first day of the previous month to yesterday:
    // arrivals 07:40-08:30, departures 17:00-18:30; now and then a day off or
    // a forgotten departure scan.
    for (QDate day = first; ok && day < today; day = day.addDays(1)) {
        if (day.dayOfWeek() > 5)
            continue;
        for (int i = 0; ok && i < kEmployeeCount; ++i) {
            const int roll = uniform(rng, 0, 99);
            const QDateTime in = at(day, 7 * 3600 + 40 * 60 + uniform(rng, 0, 50 * 60));
            const QDateTime out = at(day, 17 * 3600 + uniform(rng, 0, 90 * 60));
            if (roll < 4)
                continue;
            ok = write(numbers[i], in, roll < 7 ? QDateTime() : out);
        }
    }
    // Today: two in three have arrived, each at least two minutes before the
    // set-up, so a scan right after it records the departure; just after
    // midnight nobody has arrived yet.
    for (int i = 0; ok && i < kEmployeeCount; ++i) {
        const QDateTime morning = at(today, 7 * 3600 + 40 * 60 + uniform(rng, 0, 50 * 60));
        const QDateTime in = qMin(morning, now.addSecs(-120 - 60 * i));
        if (i % 3 != 0 && in.date() == today)
            ok = write(numbers[i], in, QDateTime());
    }
    if (!ok) {
        *rows = 0;
        return Error::Fail(error, QStringLiteral("cannot add presence records: %1")
                                        .arg(DbErrors::From(insert.lastError()).Text()));
    }
    return true;
}

} // namespace

QStringList Numbers() {
    QStringList numbers;
    for (int i = 0; i < kEmployeeCount; ++i)
        numbers << QString::number(1001 + i);
    return numbers;
}

QStringList Barcodes() {
    std::mt19937 rng(kBarcodeSeed);
    QStringList barcodes;
    while (barcodes.size() < kEmployeeCount) {
        QString code = QString::number(uniform(rng, 1, 9));
        while (code.size() < 15)
            code += QString::number(uniform(rng, 0, 9));
        if (!barcodes.contains(code))
            barcodes << code;
    }
    return barcodes;
}

QString DefaultPassword() {
    return QStringLiteral("123456");
}

QString DefaultUnitName() {
    return QStringLiteral("示范实验学校");
}

bool Populate(QSqlDatabase db, Summary* summary, Error* error) {
    Summary s;
    QVector<int> deptIds;
    if (!addDepartments(db, &deptIds, error))
        return false;
    s.departments = deptIds.size();
    if (!addEmployees(db, deptIds, error))
        return false;
    s.employees = kEmployeeCount;
    if (!addPresence(db, &s.presenceRows, error))
        return false;
    if (summary)
        *summary = s;
    return true;
}

} // namespace DemoData
