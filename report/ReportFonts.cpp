#include "report/ReportFonts.h"

#include <QFont>
#include <QList>

namespace ReportFonts {

namespace {

const QString kMing = QStringLiteral("AR PL UMing CN");
const QString kKai = QStringLiteral("AR PL UKai CN");
const QString kHei = QStringLiteral("WenQuanYi Zen Hei");

struct Face {
    const char* windowsName; // UTF-8
    QStringList substitutes;
};

// Song/Ming faces map to UMing, brush faces to UKai, gothic faces to Zen Hei;
// Zen Hei is the last resort of every list because it covers all of GBK.
const QList<Face>& faces() {
    static const QList<Face> list = {
        {"宋体", {kMing, kHei}},
        {"新宋体", {kMing, kHei}},
        {"SimSun", {kMing, kHei}},
        {"NSimSun", {kMing, kHei}},
        {"仿宋_GB2312", {kMing, kHei}},
        {"仿宋", {kMing, kHei}},
        {"FangSong_GB2312", {kMing, kHei}},
        {"FangSong", {kMing, kHei}},
        {"楷体_GB2312", {kKai, kHei}},
        {"楷体", {kKai, kHei}},
        {"KaiTi_GB2312", {kKai, kHei}},
        {"KaiTi", {kKai, kHei}},
        {"隶书", {kKai, kHei}},
        {"LiSu", {kKai, kHei}},
        {"幼圆", {kHei, kMing}},
        {"黑体", {kHei, kMing}},
        {"SimHei", {kHei, kMing}},
        {"微软雅黑", {kHei, kMing}},
        {"Microsoft YaHei", {kHei, kMing}},
    };
    return list;
}

} // namespace

void InstallSubstitutions() {
    for (const Face& f : faces())
        QFont::insertSubstitutions(QString::fromUtf8(f.windowsName), f.substitutes);
}

} // namespace ReportFonts
