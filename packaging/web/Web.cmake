# The Debian package attendance-web: the program attendance-web (installed
# by web/CMakeLists.txt, component "web"), its systemd system unit (shipped
# disabled) and the maintainer scripts that add its system user. Included by
# packaging/Packaging.cmake before CPack.
list(APPEND ATTENDANCE_PACKAGES web)
list(APPEND CPACK_COMPONENTS_ALL web)

set(web_dir ${CMAKE_CURRENT_LIST_DIR})
attendance_install_configured(${web_dir}/attendance-web.service.in
                              lib/systemd/system/attendance-web.service web)
attendance_install_command(attendance-web web)

set(web_doc share/doc/attendance-web)
install(FILES ${ATTENDANCE_PACKAGING_DIR}/copyright DESTINATION ${web_doc} COMPONENT web)
install(CODE "
  set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${web_doc}/changelog.gz\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${web_doc}\")
  execute_process(COMMAND gzip -9n -c \"${ATTENDANCE_PACKAGING_DIR}/changelog\"
                  OUTPUT_FILE \"\${target}\" COMMAND_ERROR_IS_FATAL ANY)
  file(CHMOD \"\${target}\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
" COMPONENT web)

set(CPACK_DEBIAN_WEB_PACKAGE_NAME attendance-web)
# The offscreen platform (libqt6gui6) lays out the PDF download's text.
set(CPACK_DEBIAN_WEB_PACKAGE_DEPENDS
    "adduser, libqt6sql6-sqlite, libqt6sql6-psql, fonts-wqy-zenhei | fonts-arphic-uming | fonts-arphic-ukai")
set(CPACK_DEBIAN_WEB_PACKAGE_SUGGESTS "nginx | caddy")
set(CPACK_DEBIAN_WEB_DESCRIPTION "time-attendance web pages for managers
attendance-web serves read-only pages of the attendance records to browsers
that sign in with the viewer password: today's records, who has not
arrived, missing departures and the month's summary with charts and
downloads. Runs as a systemd service behind a reverse proxy with TLS.")
set(CPACK_DEBIAN_WEB_PACKAGE_CONTROL_EXTRA ${web_dir}/postinst ${web_dir}/prerm ${web_dir}/postrm)
