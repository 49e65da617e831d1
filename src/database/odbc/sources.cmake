# The sources of SQL Server through ODBC, for this folder's library and for the Windows cross-compile.
set(zelvan_odbc_sources
    ${CMAKE_CURRENT_LIST_DIR}/odbcbackend.cpp
    ${CMAKE_CURRENT_LIST_DIR}/odbcbackend.h
    ${CMAKE_CURRENT_LIST_DIR}/odbcconnectionstring.cpp
    ${CMAKE_CURRENT_LIST_DIR}/odbcconnectionstring.h
    ${CMAKE_CURRENT_LIST_DIR}/odbcmapping.cpp
    ${CMAKE_CURRENT_LIST_DIR}/odbcmapping.h
)
if(WIN32)
    list(APPEND zelvan_odbc_sources
        ${CMAKE_CURRENT_LIST_DIR}/odbcconnectionstring_win.cpp
    )
else()
    list(APPEND zelvan_odbc_sources
        ${CMAKE_CURRENT_LIST_DIR}/odbcconnectionstring_unix.cpp
    )
endif()
