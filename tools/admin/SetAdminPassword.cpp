#include "tools/admin/SetAdminPassword.h"

#include "session/MainSession.h"
#include "shared/config/IniFile.h"
#include "shared/config/PasswordModule.h"
#include "shared/config/clsConfiguration.h"
#include "shared/db/DbErrors.h"
#include "shared/db/DbTransaction.h"
#include "shared/records/clsCorrection.h"
#include "tools/admin/ServerOptions.h"

#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

namespace SetAdminPassword {

using Admin::Context;
using Admin::Fail;

namespace {

// The configuration is rewritten through a new file beside it: both the
// file and its folder must be writable for this user.
bool writable(Context& c, const QString& ini) {
    if (::access(QFile::encodeName(ini).constData(), F_OK) != 0 && errno == ENOENT)
        return Fail(c.err, QStringLiteral("no configuration %1; set the program directory up with "
                                          "'attendance-admin init'")
                               .arg(ini));
    const QString folder = QFileInfo(ini).absolutePath();
    for (const QString& path : {ini, folder})
        if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
            return Fail(c.err, QStringLiteral("%1 is not writable for this user: the password is "
                                              "stored in %2 (run as a member of its group, or "
                                              "with sudo); nothing was changed")
                                   .arg(path, ini));
    return true;
}

// "-" (asked twice on the terminal) or --password-file FILE, exactly one.
int readPassword(Context& c, QString* password) {
    const bool asked = !c.args.isEmpty();
    if (asked && c.args[0] != QLatin1String("-"))
        return Admin::Misused(c.err, QStringLiteral("a password on the command line can be read "
                                                    "by other users in ps: give \"-\" (asked on "
                                                    "the terminal) or --password-file FILE"));
    if (asked == c.isSet("password-file"))
        return Admin::Misused(c.err, QStringLiteral("give \"-\" or --password-file FILE, one of "
                                                    "them"));
    if (!Admin::UseDirOption(c) || !writable(c, clsConfiguration::DefaultFileName()) ||
        !Admin::OpenProgramDirectory(c))
        return Admin::Failure;
    const bool read =
        asked ? ServerOptions::Prompt(c, QStringLiteral("new administrator password"), password,
                                      ServerOptions::Ask::Twice)
              : ServerOptions::FromFile(c, Admin::Absolute(c.value("password-file")), password);
    return read && ServerOptions::AdminPasswordUsable(c, *password) ? Admin::Success
                                                                    : Admin::Failure;
}

} // namespace

QString Synopsis() {
    return QStringLiteral("- | --password-file FILE");
}

QString Summary() {
    return QStringLiteral(
        "Sets a new administrator password (OTHER/ALP of attendance.ini, which this\n"
        "user must be able to write): \"-\" asks for it twice on the terminal without\n"
        "echo, --password-file FILE reads the first line of FILE. The database's\n"
        "trail gets a row of kind \"password\" (never the password); when it cannot\n"
        "be written, nothing changes.");
}

int Run(Context& c) {
    QString password;
    if (const int status = readPassword(c, &password))
        return status;
    const QString ini = clsConfiguration::DefaultFileName();
    // The trail's row first, the configuration inside the transaction, so
    // that neither is there without the other.
    DbSession& session = MainSession::Get();
    DbTransaction tx(session, DbTransaction::Mode::Immediate);
    Error why;
    if (!tx.IsActive())
        return Fail(c.err, tx.Error().Text());
    if (!clsCorrection::WritePasswordTrail(session, clsCorrection::Operator::Current(), &why))
        return Fail(c.err, QStringLiteral("the trail cannot be written, so the password was not "
                                          "changed: %1")
                               .arg(why.Text()));
    const QString before = GetStoredPassword();
    if (!SavePassword(password))
        return Fail(c.err, QStringLiteral("cannot write %1; nothing was changed").arg(ini));
    if (!tx.Commit()) {
        const bool restored =
            IniFile(ini).Write(QStringLiteral("OTHER"), QStringLiteral("ALP"), before);
        return Fail(c.err, QStringLiteral("the trail's row was not committed (%1); %2")
                               .arg(tx.Error().Text(),
                                    restored ? QStringLiteral("the old password stays")
                                             : QStringLiteral("%1 could not be put back: set the "
                                                              "password again")
                                                   .arg(ini)));
    }
    c.out << "set the administrator password in " << ini << Qt::endl;
    return Admin::Success;
}

} // namespace SetAdminPassword
