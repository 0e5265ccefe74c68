# Install rules shared by the programs, the files that start the station with
# the session, and the three Debian packages built by CPack
# (scripts/make-packages.sh): attendance-signdesk, attendance-manage and
# attendance-tools (attendance-admin, jpegenc).

# Writes TEMPLATE to DESTINATION (under the prefix) at install time, naming
# the installed program directory (@PROGRAM_DIR@) and share folder
# (@SHARE_DIR@) by absolute path.
function(attendance_install_configured template destination component)
  install(CODE "
    get_filename_component(PREFIX \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
    get_filename_component(PROGRAM_DIR \"\${PREFIX}/${ATTENDANCE_PROGRAM_DIR}\" ABSOLUTE)
    set(SHARE_DIR \"\${PREFIX}/share\")
    configure_file(\"${template}\" \"\$ENV{DESTDIR}\${PREFIX}/${destination}\" @ONLY)
    message(STATUS \"Installing: \$ENV{DESTDIR}\${PREFIX}/${destination}\")
  " COMPONENT ${component})
endfunction()

# The command of a program in bin/ when the program directory is elsewhere
# under the prefix (a relative link, so the packages can be unpacked anywhere).
function(attendance_install_command program component)
  if(ATTENDANCE_PROGRAM_DIR STREQUAL ".")
    return()
  endif()
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK \"../${ATTENDANCE_PROGRAM_DIR}/${program}\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${program}\" SYMBOLIC)
  " COMPONENT ${component})
endfunction()

set(ATTENDANCE_PACKAGES signdesk manage tools)
set(ATTENDANCE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

# Starting the station with the session, installed but not enabled (README,
# "Starting with the session"): an autostart entry to copy into
# ~/.config/autostart, and a systemd user unit that restarts it after a crash.
attendance_install_configured(${ATTENDANCE_PACKAGING_DIR}/signdesk-autostart.desktop.in
                              share/attendance/autostart/signdesk.desktop signdesk)
attendance_install_configured(${ATTENDANCE_PACKAGING_DIR}/attendance-signdesk.service.in
                              lib/systemd/user/attendance-signdesk.service signdesk)
foreach(program signdesk manage)
  attendance_install_command(${program} ${program})
endforeach()
foreach(program attendance-admin jpegenc)
  attendance_install_command(${program} tools)
endforeach()

# Each package's copyright and changelog (compressed as Debian wants it).
foreach(package ${ATTENDANCE_PACKAGES})
  set(doc share/doc/attendance-${package})
  install(FILES ${ATTENDANCE_PACKAGING_DIR}/copyright DESTINATION ${doc} COMPONENT ${package})
  install(CODE "
    set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${doc}/changelog.gz\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${doc}\")
    execute_process(COMMAND gzip -9n -c \"${ATTENDANCE_PACKAGING_DIR}/changelog\"
                    OUTPUT_FILE \"\${target}\" COMMAND_ERROR_IS_FATAL ANY)
    file(CHMOD \"\${target}\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  " COMPONENT ${package})
endforeach()

# The packages (CPack indents the description's lines after the first).
# Libraries linked come from dpkg-shlibdeps; what the programs
# load at run time (database drivers, SVG icons, camera plugins, fonts, Qt's
# Chinese translations) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME attendance)
set(CPACK_PACKAGE_VENDOR "Attendance")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Attendance developers <attendance@signdesk.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${ATTENDANCE_PACKAGES})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(attendance_runtime
    "adduser, libqt6sql6-sqlite, libqt6sql6-psql, qt6-translations-l10n, fonts-wqy-zenhei | fonts-arphic-uming | fonts-arphic-ukai")
set(CPACK_DEBIAN_SIGNDESK_PACKAGE_NAME attendance-signdesk)
set(CPACK_DEBIAN_SIGNDESK_PACKAGE_DEPENDS
    "${attendance_runtime}, libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_SIGNDESK_DESCRIPTION "time-attendance sign-in station
signdesk: employees scan their sign-in cards with a barcode scanner; the
station records arrivals and departures, shows photo, name and department,
enrols employees with a camera and prints the monthly attendance report.")
set(CPACK_DEBIAN_MANAGE_PACKAGE_NAME attendance-manage)
set(CPACK_DEBIAN_MANAGE_PACKAGE_DEPENDS "${attendance_runtime}, libqt6svg6")
set(CPACK_DEBIAN_MANAGE_DESCRIPTION "time-attendance office program
manage: departments and employees of the attendance system, new employees
from the stations, the sign-in card design and the printed cards.")
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME attendance-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "${attendance_runtime}")
set(CPACK_DEBIAN_TOOLS_DESCRIPTION "time-attendance command-line tools
attendance-admin sets up the configuration and database of the attendance
system (SQLite file or PostgreSQL server), runs the exchange files and
prints reports from scripts; jpegenc encodes photos as JPEG.")
foreach(package ${ATTENDANCE_PACKAGES})
  string(TOUPPER ${package} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_CONTROL_EXTRA ${ATTENDANCE_PACKAGING_DIR}/postinst)
endforeach()
# The web pages' package keeps its files in packaging/web/.
include(${ATTENDANCE_PACKAGING_DIR}/web/Web.cmake)
include(CPack)
