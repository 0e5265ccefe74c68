#include "tools/admin/AdminOptions.h"

namespace AdminOptions {

QString DefaultDirectory() {
#ifdef ATTENDANCE_CONFIG_DIR
    return QStringLiteral(ATTENDANCE_CONFIG_DIR);
#else
    return QStringLiteral("the directory of attendance-admin");
#endif
}

Admin::Option Dir() {
    return {QStringLiteral("dir"), QStringLiteral("DIR"),
            QStringLiteral("the program directory whose attendance.ini is used\n(default: %1)")
                .arg(DefaultDirectory())};
}

Admin::Option Server() {
    return {QStringLiteral("server"), QStringLiteral("HOST[:PORT][,HOST[:PORT]...]"),
            QStringLiteral("the database server (several: the one accepting writes)")};
}

Admin::Option User() {
    return {QStringLiteral("user"), QStringLiteral("U"),
            QStringLiteral("the server login (the owner of the database)")};
}

Admin::Option Password() {
    return {QStringLiteral("password"), QStringLiteral("PW"),
            QStringLiteral("init with a file: the administrator password; with a server:\n"
                           "the server login's password; \"-\" asks on the terminal without "
                           "echo")};
}

Admin::Option PasswordFile() {
    return {QStringLiteral("password-file"), QStringLiteral("FILE"),
            QStringLiteral("the password of --password as the first line of FILE")};
}

Admin::Option Database() {
    return {QStringLiteral("database"), QStringLiteral("NAME"),
            QStringLiteral("the database on the server")};
}

Admin::Option AdminPassword() {
    return {QStringLiteral("admin-password"), QStringLiteral("PW"),
            QStringLiteral("the administrator password (\"-\" asks on the terminal)")};
}

} // namespace AdminOptions
