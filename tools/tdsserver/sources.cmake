# The sources of the TDS test server's library.
set(zelvan_tdsserver_sources
    ${CMAKE_CURRENT_LIST_DIR}/tdserrors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tdserrors.h
    ${CMAKE_CURRENT_LIST_DIR}/tdslogin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tdslogin.h
    ${CMAKE_CURRENT_LIST_DIR}/tdspacket.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tdspacket.h
    ${CMAKE_CURRENT_LIST_DIR}/tdsserver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tdsserver.h
    ${CMAKE_CURRENT_LIST_DIR}/tdssession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tdssession.h
    ${CMAKE_CURRENT_LIST_DIR}/tdstokens.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tdstokens.h
    ${CMAKE_CURRENT_LIST_DIR}/tdstypes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tdstypes.h
)
