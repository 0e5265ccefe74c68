// attendance-web: the read-only web pages for the office's managers (today,
// the lists that need action, the month), served from the program
// directory's configuration and database.
#include "report/ReportFonts.h"
#include "shared/base/AppClock.h"
#include "shared/base/ProgramDirectory.h"
#include "shared/config/ViewerPassword.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/clsDbConn.h"
#include "web/ReadOnlyDatabase.h"
#include "web/WebServer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

void messageFilter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    qt_message_output(type, context, message);
}

// "HOST:PORT", "[V6]:PORT" or "PORT".
bool parseListen(const QString& text, QHostAddress* address, quint16* port) {
    const qsizetype colon = text.lastIndexOf(u':');
    QString host = colon < 0 ? QStringLiteral("127.0.0.1") : text.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint p = text.mid(colon + 1).toUInt(&ok);
    if (!ok || p == 0 || p > 65535 || !address->setAddress(host))
        return false;
    *port = quint16(p);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    AppClock::UseSystemTimeZoneOnce();
    // The PDF download lays out text; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(messageFilter);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("attendance-web"));
    ReportFonts::InstallSubstitutions();
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves the read-only web pages of the attendance records (today, not yet arrived,\n"
        "missing departures, the month's summary) to browsers that sign in with the viewer\n"
        "password (attendance-admin web-password). Reads the database only."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("dir"),
                      QStringLiteral("the program directory whose attendance.ini is used"),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("listen"),
                      QStringLiteral("address and port to listen on (default 127.0.0.1:8080)"),
                      QStringLiteral("HOST:PORT")});
    parser.process(app);

    if (parser.isSet(QStringLiteral("dir"))) {
        const QString dir =
            QDir::cleanPath(QFileInfo(parser.value(QStringLiteral("dir"))).absoluteFilePath());
        if (!QFileInfo(dir).isDir()) {
            err << "attendance-web: no such directory: " << dir << Qt::endl;
            return 1;
        }
        SetProgramDirectory(dir);
    }
    QHostAddress address(QHostAddress::LocalHost);
    quint16 port = 8080;
    if (parser.isSet(QStringLiteral("listen")) &&
        !parseListen(parser.value(QStringLiteral("listen")), &address, &port)) {
        err << "attendance-web: --listen takes HOST:PORT, not "
            << parser.value(QStringLiteral("listen")) << Qt::endl;
        return 2;
    }
    if (ViewerPassword::Stored().isEmpty()) {
        err << "attendance-web: no viewer password is set in "
            << clsConfiguration::DefaultFileName() << " (attendance-admin web-password)"
            << Qt::endl;
        return 3; // the service is not started again until it is set
    }
    Error why;
    if (!ReadOnlyDatabase::Ensure(&why)) {
        err << "attendance-web: cannot read the database: " << why.Text() << Qt::endl;
        return 1;
    }

    WebServer server{WebSite::Options{}};
    Error error;
    if (!server.Listen(address, port, &error)) {
        err << "attendance-web: cannot listen on " << address.toString() << ':' << port << ": "
            << error.Text() << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << "attendance-web: listening on http://"
                        << (address.protocol() == QAbstractSocket::IPv6Protocol
                                ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
                                : address.toString())
                        << ':' << server.Port() << '/' << Qt::endl;
    const int status = app.exec();
    clsDbConn::CloseShared();
    return status;
}
