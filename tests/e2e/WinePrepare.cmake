# Run by the test "wine.prepare" before the end-to-end tests of the Windows build:
#   cmake -DWINE=<wine> -DBIN_DIR=<folder of the .exe files> -DPROGRAMS=<names> -P WinePrepare.cmake
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
# A first start of Wine sets up its prefix, which takes a while; the tests then start quickly.
execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEDEBUG=-all ${WINE} ${BIN_DIR}/${first}.exe /?
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors TIMEOUT 240)
if(NOT status MATCHES "^[0-9]+$")
    message(FATAL_ERROR "wine could not run ${BIN_DIR}/${first}.exe: ${status}\n${errors}")
endif()
message(STATUS "Wine runs ${BIN_DIR}/${first}.exe (exit status ${status})")
