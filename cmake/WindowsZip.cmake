# Writes OUTPUT, the zip of the Windows console programs for a pre-boot environment: arrayplan.exe and
# drvstage.exe from BIN_DIR, the controller support files as raid\, and their reference pages as HTML.
# Without the cross build it says so, and removes a zip left by an earlier run.
#   cmake -DBIN_DIR=... -DSOURCE_DIR=... -DPANDOC=... -DWORK_DIR=... -DOUTPUT=... -P WindowsZip.cmake
set(programs arrayplan drvstage)
foreach(program IN LISTS programs)
    if(NOT EXISTS ${BIN_DIR}/${program}.exe)
        file(REMOVE ${OUTPUT})
        message(STATUS "Windows zip: skipped, ${BIN_DIR} holds no ${program}.exe (make windows builds it)")
        return()
    endif()
endforeach()
if(NOT PANDOC)
    message(FATAL_ERROR "Windows zip: pandoc is not installed (scripts/install-deps installs it)")
endif()

get_filename_component(folder ${OUTPUT} NAME_WLE)
set(root ${WORK_DIR}/${folder})
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${root}/reference)
foreach(program IN LISTS programs)
    file(COPY ${BIN_DIR}/${program}.exe DESTINATION ${root})
    execute_process(
        COMMAND ${PANDOC} --standalone --from markdown --to html --metadata pagetitle=${program}
                --output ${root}/reference/${program}.html ${SOURCE_DIR}/docs/${program}.md
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(COPY ${SOURCE_DIR}/data/raid DESTINATION ${root})
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUTPUT} --format=zip ${folder}
                WORKING_DIRECTORY ${WORK_DIR} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Windows zip: ${OUTPUT}")
