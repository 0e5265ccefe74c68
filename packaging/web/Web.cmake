# The Debian package attendance-web: the program attendance-web (installed
# by web/CMakeLists.txt, component "web"), its manual page, its systemd
# system unit (shipped disabled) and the maintainer scripts that add its
# system user. Included by packaging/Packaging.cmake before CPack.
set(web_dir ${CMAKE_CURRENT_LIST_DIR})
attendance_install_configured(${web_dir}/attendance-web.service.in
                              lib/systemd/system/attendance-web.service web)
attendance_install_command(attendance-web web)
attendance_install_man(${ATTENDANCE_PACKAGING_DIR}/man/attendance-web.1 web)

# The offscreen platform (libqt6gui6) lays out the PDF download's text.
attendance_package(web
  DEPENDS "adduser, libqt6sql6-sqlite, fonts-wqy-zenhei | fonts-arphic-uming | fonts-arphic-ukai"
  RECOMMENDS "${attendance_recommends}"
  DESCRIPTION "time-attendance web pages for managers
attendance-web serves read-only pages of the attendance records to browsers
that sign in with the viewer password: today's records, who has not
arrived, missing departures and the month's summary with charts and
downloads. Runs as a systemd service behind a reverse proxy with TLS.")
set(CPACK_DEBIAN_WEB_PACKAGE_SUGGESTS "nginx | caddy")
# Its own scripts: the system user and the service besides the group and
# folders (postinst), the service stopped (prerm), the configuration purged
# with the last package (postrm).
set(CPACK_DEBIAN_WEB_PACKAGE_CONTROL_EXTRA
    "${web_dir}/postinst;${web_dir}/prerm;${web_dir}/postrm")
