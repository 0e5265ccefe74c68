# Writes the manual page of attendance-admin from the program's own help,
# which its command table builds: the general usage, then each command's
# "COMMAND --help" in a section of its own. Run as
#   cmake -DADMIN=path/to/attendance-admin -DVERSION=X.Y.Z -DOUT=file.1 -P AdminManPage.cmake

# Text as roff shows it literally: backslashes, and a line that begins with
# a dot or an apostrophe, which roff would take for a request.
function(roff_text text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(run_help out)
  execute_process(COMMAND "${ADMIN}" ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "attendance-admin ${ARGN} failed: ${status}")
  endif()
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The report commands' help starts the GUI library, without a display.
set(ENV{QT_QPA_PLATFORM} offscreen)
run_help(usage --help)
# The command names: the lines of the list after "commands:".
string(REGEX MATCH "commands:\n(.*)\n\n" list "${usage}")
string(REGEX MATCHALL "\n  [a-z-]+" names "\n${CMAKE_MATCH_1}")
# The usage line is the synopsis above.
string(REGEX REPLACE "^usage:[^\n]*\n\n" "" description "${usage}")
roff_text("${description}" usage_roff)

set(page ".TH ATTENDANCE-ADMIN 1 \"December 2026\" \"attendance ${VERSION}\" \"User Commands\"
.SH NAME
attendance\\-admin \\- set up and script the attendance system's configuration and database
.SH SYNOPSIS
.B attendance\\-admin
.I COMMAND
.RI [ ARGS ]
.RB [ \\-\\-dir
.IR DIR ]
.SH DESCRIPTION
.nf
${usage_roff}
.fi
.SH COMMANDS
")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  run_help(help ${name} --help)
  roff_text("${help}" help_roff)
  string(APPEND page ".SS ${name}\n.nf\n${help_roff}\n.fi\n")
endforeach()
string(APPEND page ".SH FILES
.TP
.I /etc/attendance/attendance.ini
The configuration of the Debian packages' programs (\\fB\\-\\-dir /etc/attendance\\fR);
readable and writable by the group \\fBattendance\\fR only.
.TP
.I /var/lib/attendance/vorerur.dat
The database file of a site without a server.
.SH SEE ALSO
.BR signdesk (1),
.BR attendance\\-manage (1),
.BR jpegenc (1)
")
file(WRITE "${OUT}" "${page}")
