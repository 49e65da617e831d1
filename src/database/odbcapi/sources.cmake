# The sources of the ODBC calls in plain C++, for this folder's library and for the Windows cross-compile.
set(zelvan_odbcapi_sources
    ${CMAKE_CURRENT_LIST_DIR}/odbcapi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/odbcapi.h
)
