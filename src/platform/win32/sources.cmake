# The sources of the Win32 calls in plain C++, for this folder's library and for the Windows cross-compile.
set(zelvan_win32_sources
    ${CMAKE_CURRENT_LIST_DIR}/clipboardapi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboardapi.h
    ${CMAKE_CURRENT_LIST_DIR}/processargumentsapi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/processargumentsapi.h
    ${CMAKE_CURRENT_LIST_DIR}/processlauncherapi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/processlauncherapi.h
    ${CMAKE_CURRENT_LIST_DIR}/registryapi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registryapi.h
    ${CMAKE_CURRENT_LIST_DIR}/systeminfoapi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/systeminfoapi.h
    ${CMAKE_CURRENT_LIST_DIR}/win32api.h
)
