# The sources of the report, for this folder's library and for the Windows cross-compile.
set(zelvan_report_sources
    ${CMAKE_CURRENT_LIST_DIR}/activereport1.cpp
    ${CMAKE_CURRENT_LIST_DIR}/activereport1.h
    ${CMAKE_CURRENT_LIST_DIR}/detailformat.cpp
    ${CMAKE_CURRENT_LIST_DIR}/detailformat.h
    ${CMAKE_CURRENT_LIST_DIR}/figurerows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/figurerows.h
    ${CMAKE_CURRENT_LIST_DIR}/reporthost.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reporthost.h
    ${CMAKE_CURRENT_LIST_DIR}/reportoutput.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reportoutput.h
    ${CMAKE_CURRENT_LIST_DIR}/reportvalues.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reportvalues.h
    ${CMAKE_CURRENT_LIST_DIR}/stockvaluation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stockvaluation.h
)
