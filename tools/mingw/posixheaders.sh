#!/bin/sh
# Fails when SOURCE, or a header of ours it includes, includes a header that
# Windows compilers lack (MinGW-w64 has some of them, MSVC has none). Only
# the directives that the preprocessor takes for Windows count.
# Usage: posixheaders.sh COMPILER FLAGS_FILE ROOT SOURCE STAMP
set -eu
compiler=$1 flags=$2 root=$3 source=$4 stamp=$5
"$compiler" @"$flags" -E -dI -MD -MF "$stamp.d" -MT "$stamp" -o "$stamp.i" "$source"
found=$(awk -v src="$root/src/" -v tools="$root/tools/" '
    function posixOnly(h) {
        if (h ~ /^(linux|netinet|arpa)\//)
            return 1
        if (h ~ /^sys\// && h !~ /^sys\/(types|stat|timeb|utime)\.h$/)
            return 1
        return h ~ /^(unistd|dirent|pthread|libgen|strings|dlfcn|pwd|grp|poll|termios|netdb|syslog|spawn|semaphore|sched|fnmatch|glob|features|endian)\.h$/
    }
    /^# [0-9]+ "/ { file = $3; gsub(/"/, "", file); next }
    /^#include / {
        header = $2
        gsub(/[<>"]/, "", header)
        if ((index(file, src) == 1 || index(file, tools) == 1) && posixOnly(header))
            print file ": #include " $2
    }' "$stamp.i" | sort -u)
rm -f "$stamp.i"
if [ -n "$found" ]; then
    echo "POSIX-only headers in a file compiled on Windows:" >&2
    echo "$found" >&2
    exit 1
fi
touch "$stamp"
