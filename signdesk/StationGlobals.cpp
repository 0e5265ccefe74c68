#include "signdesk/StationGlobals.h"

#include "shared/config/clsConfiguration.h"
#include "shared/config/clsSchoolArea.h"
#include "shared/db/DbSettings.h"
#include "shared/offline/OfflineStation.h"
#include "shared/offline/StationCache.h"
#include "station/ScanService.h"

#include "signdesk/frmSetSchoolName.h"
#include <QCoreApplication>
#include <QFileInfo>

frmMain* gfrmMain = nullptr;

namespace Station {

QString ProgramTitle() {
    return QCoreApplication::translate("Station", "签到系统");
}

QString SettingsName() {
    return QStringLiteral("签到系统");
}

QString VersionText() {
    return QString::number(VersionMajor) + QLatin1Char('.') + QString::number(VersionMinor) +
           QString::number(VersionRevision);
}

QString HomePage() {
    return QStringLiteral(ATTENDANCE_HOME_PAGE);
}

void AskUnitNameIfMissing() {
    if (!clsSchoolArea().SNAME().trimmed().isEmpty())
        return;
    frmSetSchoolName dialog;
    dialog.exec();
}

bool CanStartFromCopy() {
    if (DbSettings::FromConfiguration().engine != DbSettings::Engine::PostgreSQL)
        return false;
    const QString file = OfflineStation::CacheFile(ScanService::StationFolder());
    return QFileInfo(file).isFile() && StationCache(file).RefreshedAt().isValid();
}

bool SoundsOn() {
    clsConfiguration cfg;
    cfg.setFileName(clsConfiguration::DefaultFileName());
    cfg.setGroup(QStringLiteral("OTHER"));
    return cfg.GetItem(QStringLiteral("SOUND")).trimmed() != QLatin1String("0");
}

} // namespace Station
