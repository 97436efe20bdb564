# Run by the test "wine.prepare" before the end-to-end tests of the Windows build:
#   cmake -DWINE=<wine> [-DWINESERVER=<wineserver>] -DBIN_DIR=<folder of the .exe files> -DPROGRAMS=<names>
#         -DLOG=<file> -P WinePrepare.cmake
# Output goes to files, not pipes: the Wine server runs on in the background and would hold a pipe open.
foreach(program IN LISTS PROGRAMS)
    if(NOT EXISTS ${BIN_DIR}/${program}.exe)
        message(FATAL_ERROR "${BIN_DIR}/${program}.exe is missing: build the Windows programs with `make windows` "
                            "(cmake --preset windows && cmake --build --preset windows)")
    endif()
endforeach()
if(NOT PROGRAMS)
    return()
endif()
list(GET PROGRAMS 0 first)
# Each start of the Wine server also starts Wine's own services, which takes seconds; a server that stays
# a minute after its last program keeps them for the whole test run. (One that already runs is kept.)
if(WINESERVER)
    execute_process(COMMAND ${WINESERVER} -p60 RESULT_VARIABLE ignored OUTPUT_FILE ${LOG} ERROR_FILE ${LOG}
                    TIMEOUT 30)
endif()
# A first start of Wine sets up its prefix, which takes a while; the tests then start quickly.
execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEDEBUG=-all ${WINE} ${BIN_DIR}/${first}.exe /?
                RESULT_VARIABLE status OUTPUT_FILE ${LOG} ERROR_FILE ${LOG} TIMEOUT 240)
if(NOT status MATCHES "^[0-9]+$")
    file(READ ${LOG} errors)
    message(FATAL_ERROR "wine could not run ${BIN_DIR}/${first}.exe: ${status}\n${errors}")
endif()
message(STATUS "Wine runs ${BIN_DIR}/${first}.exe (exit status ${status})")
