# The sources of the report engine, for this folder's library and for the Windows cross-compile.
set(zelvan_reportengine_sources
    ${CMAKE_CURRENT_LIST_DIR}/paperfit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/paperfit.h
    ${CMAKE_CURRENT_LIST_DIR}/reportexport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reportexport.h
    ${CMAKE_CURRENT_LIST_DIR}/reportlayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reportlayout.h
    ${CMAKE_CURRENT_LIST_DIR}/reportpainter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reportpainter.h
    ${CMAKE_CURRENT_LIST_DIR}/reportviewer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reportviewer.h
    ${CMAKE_CURRENT_LIST_DIR}/viewersettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/viewersettings.h
)
