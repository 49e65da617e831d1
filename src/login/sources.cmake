# The sources of the login dialog, for this folder's library and for the Windows cross-compile.
set(zelvan_login_sources
    ${CMAKE_CURRENT_LIST_DIR}/loginartwork.cpp
    ${CMAKE_CURRENT_LIST_DIR}/loginartwork.h
    ${CMAKE_CURRENT_LIST_DIR}/logincheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/logincheck.h
    ${CMAKE_CURRENT_LIST_DIR}/loginfrm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/loginfrm.h
    ${CMAKE_CURRENT_LIST_DIR}/navigation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/navigation.h
    ${CMAKE_CURRENT_LIST_DIR}/passwordtext.cpp
    ${CMAKE_CURRENT_LIST_DIR}/passwordtext.h
)
