#include "PdfText.h"

#include <QProcess>

namespace {

QString run(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString PdfText(const QString& pdf, int page) {
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    return run(args << pdf << QStringLiteral("-"));
}

QString PdfTextIn(const QString& pdf, int page, const QRect& twips) {
    // At 72 dpi one pixel is one point, 20 twips.
    const QRect r(twips.left() / 20, twips.top() / 20, twips.width() / 20, twips.height() / 20);
    return run({QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
                QString::number(page), QStringLiteral("-l"), QString::number(page),
                QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-x"),
                QString::number(r.left()), QStringLiteral("-y"), QString::number(r.top()),
                QStringLiteral("-W"), QString::number(r.width()), QStringLiteral("-H"),
                QString::number(r.height()), pdf, QStringLiteral("-")})
        .trimmed();
}
