# The sources of the embedded instance, for this folder's library and for the Windows cross-compile.
set(zelvan_embedded_sources
    ${CMAKE_CURRENT_LIST_DIR}/embeddedinstance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/embeddedinstance.h
    ${CMAKE_CURRENT_LIST_DIR}/exactsum.cpp
    ${CMAKE_CURRENT_LIST_DIR}/exactsum.h
    ${CMAKE_CURRENT_LIST_DIR}/selectlist.cpp
    ${CMAKE_CURRENT_LIST_DIR}/selectlist.h
    ${CMAKE_CURRENT_LIST_DIR}/sqlnames.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sqlnames.h
    ${CMAKE_CURRENT_LIST_DIR}/sqlscanner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sqlscanner.h
)
