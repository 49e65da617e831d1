# The Windows check program: built by tools/mingw/CMakeLists.txt, run under Wine by tools/mingw/check.sh.
set(zelvan_windowscheck_sources
    ${CMAKE_CURRENT_LIST_DIR}/checkgroups.h
    ${CMAKE_CURRENT_LIST_DIR}/checks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/checks.h
    ${CMAKE_CURRENT_LIST_DIR}/childprocess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/childprocess.h
    ${CMAKE_CURRENT_LIST_DIR}/odbcchecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/processchecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registrychecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/systeminfochecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windowscheck.cpp
)
