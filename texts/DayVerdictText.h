#pragma once

#include "shared/attendance/DayVerdict.h"
#include "shared/attendance/MonthSummary.h"
#include "texts/Translation.h"

#include <QString>

// A day's verdict as the windows, reports and web pages show it: "休息",
// "节假日", "正常", "迟到N分钟", "早退N分钟", "未签退", "缺勤", joined by "、"
// when several; "" when not counted and for a working day still to come.
QString DayVerdictText(const DayVerdict& day, const Translation& tr = Translation::Current());

// A corrected day's mark: "补" added to in the office, "改" changed or
// removed there, "" none.
QString DayMarkText(DayMark mark, const Translation& tr = Translation::Current());
