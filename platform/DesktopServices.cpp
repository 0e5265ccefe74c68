#include "platform/DesktopServices.h"

#include <QDesktopServices>
#include <QUrl>

namespace DesktopServices {

namespace {
// "https://host", "mailto:x" are addresses; everything else is a file path
// (a Windows drive letter such as "C:" is not taken for a scheme).
QUrl toUrl(const QString& target) {
    const QUrl url(target, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(target);
}
} // namespace

bool OpenDocument(const QString& target) {
    if (Seam::Active())
        return Seam::Call(target);
    if (target.trimmed().isEmpty())
        return false;
    return QDesktopServices::openUrl(toUrl(target.trimmed()));
}

} // namespace DesktopServices
