# Install rules and the Debian package (cpack, `make package`), the manual pages generated from docs/ with
# pandoc, and the Windows zip of the cross-built console programs.
include(GNUInstallDirs)

set(KIT_PACKAGE_NAME kittools)
set(KIT_PACKAGE_DATADIR ${CMAKE_INSTALL_DATADIR}/${KIT_PACKAGE_NAME})
set(KIT_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/${KIT_PACKAGE_NAME})
set(KIT_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(KIT_WINDOWS_BIN_DIR ${PROJECT_SOURCE_DIR}/build-windows/bin
    CACHE PATH "Windows build of the console programs, tested under Wine")
set(KIT_WINDOWS_ZIP ${KIT_PACKAGE_DIRECTORY}/${KIT_PACKAGE_NAME}-${PROJECT_VERSION}-windows-x64.zip)
find_program(KIT_PANDOC pandoc)
find_program(KIT_GZIP gzip)
find_program(KIT_DPKG dpkg)
find_program(KIT_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KIT_DPKG)
    execute_process(COMMAND ${KIT_DPKG} --print-architecture OUTPUT_VARIABLE KIT_PACKAGE_ARCHITECTURE
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(KIT_PACKAGE_FILE ${KIT_PACKAGE_DIRECTORY}/${KIT_PACKAGE_NAME}_${PROJECT_VERSION}_${KIT_PACKAGE_ARCHITECTURE}.deb)

set(kit_programs arrayplan drvstage)
if(TARGET stagedesk)
    list(APPEND kit_programs stagedesk)
endif()

# One manual page per program, from its page of the user's reference.
set(kit_manpages "")
if(KIT_PANDOC AND KIT_GZIP)
    foreach(program IN LISTS kit_programs)
        set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
        string(TOUPPER ${program} title)
        add_custom_command(
            OUTPUT ${page}.gz
            COMMAND ${KIT_PANDOC} --standalone --from markdown --to man
                    --lua-filter ${PROJECT_SOURCE_DIR}/packaging/manpage.lua
                    --metadata title=${title} --metadata section=1
                    "--metadata=header:Server Deployment Kit"
                    "--metadata=footer:${KIT_PACKAGE_NAME} ${PROJECT_VERSION}"
                    --output ${page} ${PROJECT_SOURCE_DIR}/docs/${program}.md
            COMMAND ${KIT_GZIP} -9nf ${page}
            DEPENDS ${PROJECT_SOURCE_DIR}/docs/${program}.md ${PROJECT_SOURCE_DIR}/packaging/manpage.lua
            COMMENT "Manual page ${program}(1)"
            VERBATIM)
        list(APPEND kit_manpages ${page}.gz)
    endforeach()
    add_custom_target(manpages ALL DEPENDS ${kit_manpages})
endif()
# What `make package` and its test need; scripts/install-deps installs every one.
set(KIT_PACKAGING_MISSING "")
foreach(tool IN ITEMS PANDOC GZIP DPKG DPKG_SHLIBDEPS)
    if(NOT KIT_${tool})
        string(TOLOWER ${tool} name)
        string(REPLACE "_" "-" name ${name})
        list(APPEND KIT_PACKAGING_MISSING ${name})
    endif()
endforeach()
if(KIT_PACKAGING_MISSING)
    message(STATUS "No package can be built: ${KIT_PACKAGING_MISSING} not installed (scripts/install-deps)")
endif()

install(TARGETS ${kit_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/raid/ DESTINATION ${KIT_PACKAGE_DATADIR}/raid)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${KIT_PACKAGE_DOCDIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/docs/arrayplan.md ${PROJECT_SOURCE_DIR}/docs/drvstage.md
              ${PROJECT_SOURCE_DIR}/docs/stagedesk.md ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${KIT_PACKAGE_DOCDIR})
install(FILES ${kit_manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET stagedesk)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/stagedesk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/stagedesk.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
if(KIT_GZIP)
    set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
    add_custom_command(
        OUTPUT ${changelog}
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/changelog
        COMMAND ${KIT_GZIP} -9nf ${CMAKE_BINARY_DIR}/changelog
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
        VERBATIM)
    add_custom_target(package_changelog ALL DEPENDS ${changelog})
    install(FILES ${changelog} DESTINATION ${KIT_PACKAGE_DOCDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KIT_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${KIT_PACKAGE_DIRECTORY})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Kit Tools Team <kittools@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "server deployment kit tools: RAID planning, driver staging, kit set-up")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "arrayplan validates a RAID policy against a server's hardware inventory and
the controller support files, and plans its arrays, logical drives and hot
spares. drvstage stages the drivers of a driver set that suit the requested
machine types. stagedesk copies operating system files, driver sets and
utilities from discs into the kit's tree, as a window or on a console.")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${KIT_PACKAGE_ARCHITECTURE})
get_filename_component(CPACK_DEBIAN_FILE_NAME ${KIT_PACKAGE_FILE} NAME)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window needs a Qt platform plugin, which no library dependency brings; the console mode runs without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-qpa-plugins)
set(CPACK_STRIP_FILES ON)
include(CPack)

# `make package` writes it beside the .deb when build-windows/bin holds the Windows programs.
add_custom_target(windows_zip
    COMMAND ${CMAKE_COMMAND} -DBIN_DIR=${KIT_WINDOWS_BIN_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DPANDOC=${KIT_PANDOC} -DWORK_DIR=${CMAKE_BINARY_DIR}/windows-zip -DOUTPUT=${KIT_WINDOWS_ZIP}
            -P ${PROJECT_SOURCE_DIR}/cmake/WindowsZip.cmake
    VERBATIM)
