#pragma once

#include "shared/db/DbDateTime.h"
#include "tests/common/TestProgramDir.h"

#include <QString>

// The station tests' cards: E001 张三 and E002 李四 with photos, E003 王五 without.
inline const QString kCardA = QStringLiteral("123456789012345");
inline const QString kCardB = QStringLiteral("987654321098765");
inline const QString kCardC = QStringLiteral("555555555555555");

// Department 1 教务处 and the three of them.
inline bool AddStationStaff(TestProgramDir& fx) {
    return fx.addDept(1, QStringLiteral("教务处")) &&
           fx.addEmployee("E001", QStringLiteral("张三"), kCardA, 1, TestProgramDir::jpeg(1)) &&
           fx.addEmployee("E002", QStringLiteral("李四"), kCardB, 1, TestProgramDir::jpeg(2)) &&
           fx.addEmployee("E003", QStringLiteral("王五"), kCardC, 1, QByteArray());
}

// A scan's key time as the Presence table stores it.
inline QString stored(qint64 ms) {
    return DbDateTime::ToText(QDateTime::fromMSecsSinceEpoch(ms));
}
