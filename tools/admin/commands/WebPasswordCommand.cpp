#include "tools/admin/commands/WebPasswordCommand.h"

#include "shared/config/ViewerPassword.h"
#include "shared/config/clsConfiguration.h"
#include "tools/admin/AdminOptions.h"
#include "tools/admin/ServerOptions.h"

#include <QFileInfo>

WebPasswordCommand::WebPasswordCommand()
    : AdminCommand(
          {.name = QStringLiteral("web-password"),
           .synopsis = QStringLiteral("--password - | --password-file FILE"),
           .summary =
               QStringLiteral(
                   "Sets the password with which managers sign in to the web pages of\n"
                   "attendance-web, stored in attendance.ini as a salted PBKDF2 hash. \"--password "
                   "-\"\n"
                   "asks for it twice on the terminal without echo; --password-file FILE reads\n"
                   "the first line of FILE. At least %1 characters. Signed-in browsers keep their\n"
                   "session until it ends; attendance-web takes the new password at the next "
                   "sign-in.")
                   .arg(ViewerPassword::kMinLength),
           .options = {AdminOptions::Dir(),
                       {QStringLiteral("password"), QStringLiteral("PW"),
                        QStringLiteral("\"-\": asks for the password twice on the "
                                       "terminal without echo")},
                       AdminOptions::PasswordFile()}}) {}

int WebPasswordCommand::Run(Admin::Context& c) const {
    if (!Admin::UseDirOption(c))
        return Admin::Failure;
    if (!c.isSet("password") && !c.isSet("password-file"))
        return Admin::Misused(c.err, QStringLiteral("give --password - or --password-file FILE"));
    // Kept out of the process list: on the command line only "-".
    if (c.isSet("password") && c.value("password") != QLatin1String("-"))
        return Admin::Misused(
            c.err, QStringLiteral("--password takes \"-\" (asks on the terminal); for a script "
                                  "use --password-file FILE"));
    QString password;
    bool given = false;
    if (!ServerOptions::Secret(c, "password", nullptr, &password, &given))
        return Admin::Failure;
    if (c.isSet("password")) {
        QString again;
        if (!ServerOptions::Secret(c, "password", nullptr, &again, &given))
            return Admin::Failure;
        if (again != password)
            return Admin::Fail(c.err, QStringLiteral("the two passwords differ; nothing changed"));
    }
    if (password.size() < ViewerPassword::kMinLength)
        return Admin::Fail(c.err, QStringLiteral("the password needs at least %1 characters; "
                                                 "nothing changed")
                                      .arg(ViewerPassword::kMinLength));
    const QString ini = clsConfiguration::DefaultFileName();
    if (!QFileInfo(ini).isFile())
        return Admin::Fail(c.err, QStringLiteral("no configuration file %1; set the program "
                                                 "directory up with 'attendance-admin init'")
                                      .arg(ini));
    Error error;
    if (!ViewerPassword::Store(password, &error))
        return Admin::Fail(c.err, error.Text());
    c.out << "set the web password in " << ini << Qt::endl;
    return Admin::Success;
}
