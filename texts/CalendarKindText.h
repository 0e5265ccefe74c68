#pragma once

#include "shared/attendance/WorkCalendar.h"
#include "texts/Translation.h"

#include <QString>

// A calendar day's kind as the windows show it: "节假日", "调休上班", "休息日".
QString CalendarKindText(CalendarKind kind, const Translation& tr = Translation::Current());
