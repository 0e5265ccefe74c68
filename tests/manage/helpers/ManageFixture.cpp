#include "tests/manage/helpers/ManageFixture.h"

bool SeedOffice(TestProgramDir& dir, const QStringList& numbers) {
    if (!dir.addDept(1, "办公室") || !dir.addDept(2, "教务处") || !dir.addDept(3, "后勤部"))
        return false;
    for (const QString& n : numbers)
        if (!dir.addEmployee(n, QStringLiteral("员工") + n,
                             QString::number(100000000000LL + n.toLongLong()), 1,
                             TestProgramDir::jpeg(n.toInt())))
            return false;
    return true;
}
