# Install rules shared by the programs, the files that start the station with
# the session, the manual pages, and the Debian packages built by CPack
# (scripts/make-packages.sh). Each package is one install component, declared
# below with attendance_package(): attendance-signdesk, attendance-manage and
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
# under the prefix (a relative link, so the packages can be unpacked anywhere),
# named COMMAND (default: the program's own name).
function(attendance_install_command program component)
  if(ATTENDANCE_PROGRAM_DIR STREQUAL ".")
    return()
  endif()
  set(command ${program})
  if(ARGC GREATER 2)
    set(command ${ARGV2})
  endif()
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK \"../${ATTENDANCE_PROGRAM_DIR}/${program}\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${command}\" SYMBOLIC)
  " COMPONENT ${component})
endfunction()

# SOURCE compressed as Debian wants it (gzip -9n, mode 0644) to DESTINATION
# (a file under the prefix).
function(attendance_install_gzipped source destination component)
  install(CODE "
    set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}\")
    get_filename_component(folder \"\${target}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${folder}\")
    execute_process(COMMAND gzip -9n -c \"${source}\"
                    OUTPUT_FILE \"\${target}\" COMMAND_ERROR_IS_FATAL ANY)
    file(CHMOD \"\${target}\" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    message(STATUS \"Installing: \${target}\")
  " COMPONENT ${component})
endfunction()

set(ATTENDANCE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
# The version of the packages: the project's, or a later one for a test of
# upgrading (scripts/make-packages.sh --version).
set(ATTENDANCE_PACKAGE_VERSION "" CACHE STRING "Version of the Debian packages (empty: the project's)")
set(attendance_package_version ${ATTENDANCE_PACKAGE_VERSION})
if(NOT attendance_package_version)
  set(attendance_package_version ${PROJECT_VERSION})
endif()

# A manual page of section 1 (@VERSION@ replaced) into the man folder of
# COMPONENT's package.
function(attendance_install_man page component)
  get_filename_component(name ${page} NAME)
  set(configured ${CMAKE_BINARY_DIR}/man/${name})
  set(VERSION ${PROJECT_VERSION})
  configure_file(${page} ${configured} @ONLY)
  attendance_install_gzipped(${configured} share/man/man1/${name}.gz ${component})
endfunction()

set(ATTENDANCE_PACKAGES)
# One Debian package: the install component NAME becomes the package
# attendance-NAME, with its description (summary line first), what it needs
# at run time besides the libraries it links (dpkg-shlibdeps finds those),
# what it recommends, its copyright, changelog and maintainer scripts.
function(attendance_package name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DEPENDS;RECOMMENDS;DESCRIPTION" "")
  string(TOUPPER ${name} upper)
  set(package attendance-${name})
  set(ATTENDANCE_PACKAGES ${ATTENDANCE_PACKAGES} ${name} PARENT_SCOPE)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package} PARENT_SCOPE)
  set(CPACK_DEBIAN_${upper}_DESCRIPTION "${arg_DESCRIPTION}" PARENT_SCOPE)
  set(CPACK_DEBIAN_${upper}_PACKAGE_DEPENDS "${arg_DEPENDS}" PARENT_SCOPE)
  set(CPACK_DEBIAN_${upper}_PACKAGE_RECOMMENDS "${arg_RECOMMENDS}" PARENT_SCOPE)
  # Our own postrm also keeps CPack from adding one that calls ldconfig
  # (the program directory's modules are no shared libraries of the system).
  set(CPACK_DEBIAN_${upper}_PACKAGE_CONTROL_EXTRA
      "${ATTENDANCE_PACKAGING_DIR}/postinst;${ATTENDANCE_PACKAGING_DIR}/postrm" PARENT_SCOPE)
  # Tags that do not apply, each with its reason (packaging/lintian/).
  if(EXISTS ${ATTENDANCE_PACKAGING_DIR}/lintian/${package})
    install(FILES ${ATTENDANCE_PACKAGING_DIR}/lintian/${package}
            DESTINATION share/lintian/overrides COMPONENT ${name})
  endif()
  set(doc share/doc/${package})
  install(FILES ${ATTENDANCE_PACKAGING_DIR}/copyright DESTINATION ${doc} COMPONENT ${name})
  attendance_install_gzipped(${ATTENDANCE_PACKAGING_DIR}/changelog ${doc}/changelog.gz ${name})
endfunction()

# Starting the station with the session, installed but not enabled (README,
# "Starting with the session"): an autostart entry to copy into
# ~/.config/autostart, and a systemd user unit that restarts it after a crash.
attendance_install_configured(${ATTENDANCE_PACKAGING_DIR}/signdesk-autostart.desktop.in
                              share/attendance/autostart/signdesk.desktop signdesk)
attendance_install_configured(${ATTENDANCE_PACKAGING_DIR}/attendance-signdesk.service.in
                              lib/systemd/user/attendance-signdesk.service signdesk)
# Sessions without graphical-session.target (Xfce, LXDE) start the unit from
# their autostart, which first passes it the display.
attendance_install_configured(${ATTENDANCE_PACKAGING_DIR}/signdesk-unit-autostart.desktop.in
                              share/attendance/autostart/signdesk-unit.desktop signdesk)
# The commands: the office program's generic name gets the project's prefix
# in bin/; in its own folder it keeps its name.
attendance_install_command(signdesk signdesk)
attendance_install_command(manage manage attendance-manage)
foreach(program attendance-admin jpegenc)
  attendance_install_command(${program} tools)
endforeach()
attendance_install_man(${ATTENDANCE_PACKAGING_DIR}/man/signdesk.1 signdesk)
attendance_install_man(${ATTENDANCE_PACKAGING_DIR}/man/attendance-manage.1 manage)
attendance_install_man(${ATTENDANCE_PACKAGING_DIR}/man/jpegenc.1 tools)

# attendance-admin's manual page is made from its own help once it is built
# (packaging/man/AdminManPage.cmake); the target is declared after this file.
# A sanitizer build, never installed, does not run its programs while building.
function(attendance_admin_man_page)
  if(NOT TARGET attendance-admin OR ATTENDANCE_SANITIZE OR ATTENDANCE_BUILD_FUZZ)
    return()
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/attendance-admin.1)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DADMIN=$<TARGET_FILE:attendance-admin> -DVERSION=${PROJECT_VERSION}
            -DOUT=${page} -P ${ATTENDANCE_PACKAGING_DIR}/man/AdminManPage.cmake
    DEPENDS attendance-admin ${ATTENDANCE_PACKAGING_DIR}/man/AdminManPage.cmake
    COMMENT "Writing the manual page of attendance-admin")
  add_custom_target(attendance-admin-man ALL DEPENDS ${page})
  attendance_install_gzipped(${page} share/man/man1/attendance-admin.1.gz tools)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL attendance_admin_man_page)

# The packages. What the programs load at run time is named here: the
# SQLite driver, SVG icons, camera plugins, fonts, Qt's Chinese translations;
# the PostgreSQL driver is recommended (a site on a database file does
# without it).
set(attendance_runtime
    "adduser, libqt6sql6-sqlite, qt6-translations-l10n, fonts-wqy-zenhei | fonts-arphic-uming | fonts-arphic-ukai")
set(attendance_recommends "libqt6sql6-psql")
attendance_package(signdesk
  DEPENDS "${attendance_runtime}, libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good"
  RECOMMENDS "${attendance_recommends}"
  DESCRIPTION "time-attendance sign-in station
signdesk: employees scan their sign-in cards with a barcode scanner; the
station records arrivals and departures, shows photo, name and department,
enrols employees with a camera and prints the monthly attendance report.")
attendance_package(manage
  DEPENDS "${attendance_runtime}, libqt6svg6"
  RECOMMENDS "${attendance_recommends}"
  DESCRIPTION "time-attendance office program
attendance-manage: departments and employees of the attendance system, new
employees from the stations, corrections of the records, the sign-in card
design and the printed cards.")
attendance_package(tools
  DEPENDS "${attendance_runtime}"
  RECOMMENDS "${attendance_recommends}"
  DESCRIPTION "time-attendance command-line tools
attendance-admin sets up the configuration and database of the attendance
system (SQLite file or PostgreSQL server), sets the administrator password,
runs the exchange files and prints reports from scripts; jpegenc encodes
photos as JPEG.")
# The web pages' package keeps its files in packaging/web/.
include(${ATTENDANCE_PACKAGING_DIR}/web/Web.cmake)

# CPack indents the description's lines after the first. Libraries linked
# come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME attendance)
set(CPACK_PACKAGE_VENDOR "Attendance")
set(CPACK_PACKAGE_VERSION ${attendance_package_version})
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
include(CPack)
