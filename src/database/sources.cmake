# The sources of data access, for this folder's library and for the Windows cross-compile.
include(${CMAKE_CURRENT_LIST_DIR}/embedded/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/odbc/sources.cmake)
set(zelvan_database_sources
    ${CMAKE_CURRENT_LIST_DIR}/backend.h
    ${CMAKE_CURRENT_LIST_DIR}/connection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/connection.h
    ${CMAKE_CURRENT_LIST_DIR}/connectionstring.cpp
    ${CMAKE_CURRENT_LIST_DIR}/connectionstring.h
    ${CMAKE_CURRENT_LIST_DIR}/recordset.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recordset.h
    ${CMAKE_CURRENT_LIST_DIR}/recordsetmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recordsetmodel.h
    ${CMAKE_CURRENT_LIST_DIR}/sqlservertypes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sqlservertypes.h
    ${zelvan_embedded_sources}
    ${zelvan_odbc_sources}
)
