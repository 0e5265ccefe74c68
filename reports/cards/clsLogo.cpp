#include "reports/cards/clsLogo.h"

#include "shared/base/ProgramDirectory.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

bool isPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return !reader.read().isNull();
}

} // namespace

clsLogo::clsLogo() {
    m_config.setFileName(clsConfiguration::DefaultFileName());
    m_config.setGroup(QStringLiteral("LOGO"));
}

bool clsLogo::SetPath(const QString& path) {
    return m_config.SetItem(QStringLiteral("FILEPATH"), path.trimmed());
}

QString clsLogo::GetPath() const {
    return m_config.GetItem(QStringLiteral("FILEPATH"));
}

QString clsLogo::ExistingFile() const {
    const QString path = GetPath().trimmed();
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

clsLogo::Refusal clsLogo::Examine(const QString& chosen) {
    // The programs, the configuration, the database (with its journals), the
    // help pages and the windows' temporary pictures.
    static const QStringList own = {
        QStringLiteral("attendance.ini"),   QStringLiteral("signdesk"), QStringLiteral("manage"),
        QStringLiteral("attendance-admin"), QStringLiteral("jpegenc"),  QStringLiteral("HELP.html"),
        QStringLiteral("HELP-manage.html"), QStringLiteral("temp.jpg"), QStringLiteral("tmp.bmp"),
        QStringLiteral("tmp.jpg")};
    const QString name = QFileInfo(chosen).fileName();
    const QFileInfo there(JoinPath(ProgramDirectory(), name));
    if (own.contains(name, Qt::CaseInsensitive) ||
        name.startsWith(QStringLiteral("vorerur."), Qt::CaseInsensitive) ||
        (there.exists() && !isPicture(there.filePath())))
        return Refusal::ProgramFile;
    return isPicture(chosen) ? Refusal::None : Refusal::NotPicture;
}
