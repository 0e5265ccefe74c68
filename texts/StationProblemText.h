#pragma once

#include "shared/offline/StationFileProblem.h"
#include "texts/Translation.h"

#include <QString>
#include <QStringList>

#include <vector>

// What became of the station's journal or copy, in the status bar's words:
// "离线记录无法使用，已保留为 …，并已新建；其中的扫描可用 attendance-admin
// replay-journal 补录到数据库", "离线模式未开启：文件夹 … 无法保存离线副本（只读或不存在）", ...
QString StationProblemText(const StationFileProblem& problem,
                           const Translation& tr = Translation::Current());
QStringList StationProblemTexts(const std::vector<StationFileProblem>& problems,
                                const Translation& tr = Translation::Current());
