#include "texts/StationProblemText.h"

namespace {

const char* const Context = "StationProblem";

} // namespace

QString StationProblemText(const StationFileProblem& p, const Translation& tr) {
    using Kind = StationFileProblem::Kind;
    const bool journal = p.file == StationFileProblem::File::Journal;
    const char* text = nullptr;
    switch (p.kind) {
    case Kind::KeptAside:
        text = journal
                   ? QT_TRANSLATE_NOOP("StationProblem",
                                       "离线记录无法使用，已保留为 %1，并已新建；其中的扫描可用 "
                                       "attendance-admin replay-journal 补录到数据库")
                   : QT_TRANSLATE_NOOP("StationProblem", "离线副本无法使用，已保留为 %1，并已新建");
        return tr.Text(Context, text).arg(p.keptAs);
    case Kind::KeptAsideNotNew:
        text =
            journal
                ? QT_TRANSLATE_NOOP("StationProblem",
                                    "离线记录无法使用，已保留为 %1，但无法新建，离线模式未开启；"
                                    "其中的扫描可用 attendance-admin replay-journal 补录到数据库")
                : QT_TRANSLATE_NOOP("StationProblem",
                                    "离线副本无法使用，已保留为 %1，但无法新建，离线模式未开启");
        return tr.Text(Context, text).arg(p.keptAs);
    case Kind::FolderUnusable:
        text =
            journal
                ? QT_TRANSLATE_NOOP("StationProblem",
                                    "离线模式未开启：文件夹 %1 无法保存离线记录（只读或不存在）")
                : QT_TRANSLATE_NOOP("StationProblem",
                                    "离线模式未开启：文件夹 %1 无法保存离线副本（只读或不存在）");
        return tr.Text(Context, text).arg(p.path);
    case Kind::CannotOpen:
        break;
    }
    text = journal ? QT_TRANSLATE_NOOP("StationProblem", "离线模式未开启：离线记录 %1 无法打开")
                   : QT_TRANSLATE_NOOP("StationProblem", "离线模式未开启：离线副本 %1 无法打开");
    return tr.Text(Context, text).arg(p.path);
}

QStringList StationProblemTexts(const std::vector<StationFileProblem>& problems,
                                const Translation& tr) {
    QStringList texts;
    for (const StationFileProblem& p : problems)
        texts << StationProblemText(p, tr);
    return texts;
}
