#!/bin/sh
# The strip of the packages' programs and modules (CMAKE_STRIP of
# scripts/make-packages.sh), as Debian's own packaging strips them: the
# compiler's .comment and .note sections go too.
exec strip --remove-section=.comment --remove-section=.note "$@"
