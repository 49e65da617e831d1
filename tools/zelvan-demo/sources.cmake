# The sources of zelvan-demo, for its program and for the Windows cross-compile.
set(zelvan_demo_sources
    ${CMAKE_CURRENT_LIST_DIR}/companydatabase.cpp
    ${CMAKE_CURRENT_LIST_DIR}/companydatabase.h
    ${CMAKE_CURRENT_LIST_DIR}/demoinstance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/demoinstance.h
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/random.h
    ${CMAKE_CURRENT_LIST_DIR}/tablewriter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tablewriter.h
    ${CMAKE_CURRENT_LIST_DIR}/tradenames.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tradenames.h
    ${CMAKE_CURRENT_LIST_DIR}/tsqlscript.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tsqlscript.h
)
