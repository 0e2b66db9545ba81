# Installation and the Debian package.
#
# Installed tree (under any prefix):
#   libexec/varn/varn, libexec/varn/varn-tool   the programs
#   libexec/varn/Data -> ../../share/varn/Data  the programs look for their data beside
#                                               themselves, as they do in the build tree
#   share/varn/Data/*.dat                       the shipped data set
#   bin/varn, bin/varn-tool                     links to the programs
#   share/applications/varn.desktop             menu entry, opens *.vrn files
#   share/mime/packages/varn.xml                the character file type
#   share/icons/hicolor/...                     program and document icons
#   share/doc/varn/examples/*.vrn               sample characters
#
# The programs find their directory through /proc/self/exe with the links resolved, so
# bin/varn finds libexec/varn/Data whatever the prefix is.

if(VARN_INSTALL_STEP)
    # Run by `cmake --install` (and by CPack, under DESTDIR) after the files are in place.
    set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
    function(varn_link target link)
        file(REMOVE "${root}/${link}")
        get_filename_component(dir "${root}/${link}" DIRECTORY)
        file(MAKE_DIRECTORY "${dir}")
        file(CREATE_LINK "${target}" "${root}/${link}" SYMBOLIC)
        message(STATUS "Installing: ${root}/${link} -> ${target}")
    endfunction()
    varn_link("${VARN_PROGRAMS_TO_DATA}" "${VARN_INSTALL_PROGRAM_DIR}/Data")
    foreach(program varn varn-tool)
        if(EXISTS "${root}/${VARN_INSTALL_PROGRAM_DIR}/${program}")
            varn_link("${VARN_BIN_TO_PROGRAMS}/${program}" "${VARN_INSTALL_BINDIR}/${program}")
        endif()
    endforeach()

    # The menu entry names the program by its full path unless it lies where the desktop
    # looks for programs anyway; quoted, as a path may hold blanks.
    set(applications "${root}/${VARN_INSTALL_DATADIR}/applications")
    if(EXISTS "${VARN_DESKTOP_SOURCE}")
        file(READ "${VARN_DESKTOP_SOURCE}" entry)
        if(NOT CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/?$")
            set(program "${CMAKE_INSTALL_PREFIX}/${VARN_INSTALL_BINDIR}/varn")
            # Inside a quoted argument of Exec these characters take a backslash, and a
            # percent sign is doubled.
            foreach(c "\\" "\"" "`" "$")
                string(REPLACE "${c}" "\\${c}" program "${program}")
            endforeach()
            string(REPLACE "%" "%%" program "${program}")
            string(REPLACE "\nExec=varn " "\nExec=\"${program}\" " entry "${entry}")
        endif()
        file(MAKE_DIRECTORY "${applications}")
        file(WRITE "${applications}/varn.desktop" "${entry}")
        message(STATUS "Installing: ${applications}/varn.desktop")
    endif()

    # A direct install registers the file type and the menu entry at once; a package leaves
    # that to the system's triggers.
    if("$ENV{DESTDIR}" STREQUAL "")
        set(mime "${root}/${VARN_INSTALL_DATADIR}/mime")
        find_program(VARN_UPDATE_MIME update-mime-database)
        if(VARN_UPDATE_MIME AND EXISTS "${mime}/packages/varn.xml")
            execute_process(COMMAND "${VARN_UPDATE_MIME}" "${mime}" OUTPUT_QUIET ERROR_QUIET)
        endif()
        find_program(VARN_UPDATE_DESKTOP update-desktop-database)
        if(VARN_UPDATE_DESKTOP AND EXISTS "${applications}")
            execute_process(COMMAND "${VARN_UPDATE_DESKTOP}" "${applications}"
                            OUTPUT_QUIET ERROR_QUIET)
        endif()
    endif()
    return()
endif()

include(GNUInstallDirs)

set(VARN_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/varn)
set(VARN_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/varn/Data)
# Named after the package, whatever the project is called.
set(VARN_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/varn)

if(TARGET varn)
    install(TARGETS varn RUNTIME DESTINATION ${VARN_INSTALL_PROGRAM_DIR})
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${VARN_INSTALL_DATA_DIR}
        FILES_MATCHING PATTERN "*.dat")

file(GLOB VARN_EXAMPLE_FILES ${CMAKE_SOURCE_DIR}/examples/*.vrn)
if(VARN_EXAMPLE_FILES)
    install(FILES ${VARN_EXAMPLE_FILES} DESTINATION ${VARN_INSTALL_DOC_DIR}/examples)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${VARN_INSTALL_DOC_DIR})

if(EXISTS ${CMAKE_SOURCE_DIR}/resources/varn-mime.xml)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/varn-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME varn.xml)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/resources/icons/varn.png)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/varn.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/resources/icons/varn-document.png)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/varn-document.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/mimetypes
            RENAME application-x-varn-character.png)
endif()

# Links and the menu entry are made when installing, so that they follow the prefix given
# to `cmake --install --prefix`, not only the one the build was configured with. Relative
# links keep the tree movable and let the package stage it under DESTDIR. This same file
# does that work when the install step runs it with VARN_INSTALL_STEP set.
file(RELATIVE_PATH VARN_BIN_TO_PROGRAMS /${CMAKE_INSTALL_BINDIR} /${VARN_INSTALL_PROGRAM_DIR})
file(RELATIVE_PATH VARN_PROGRAMS_TO_DATA /${VARN_INSTALL_PROGRAM_DIR} /${VARN_INSTALL_DATA_DIR})
install(CODE "
    set(VARN_INSTALL_STEP ON)
    set(VARN_INSTALL_PROGRAM_DIR \"${VARN_INSTALL_PROGRAM_DIR}\")
    set(VARN_INSTALL_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(VARN_INSTALL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(VARN_BIN_TO_PROGRAMS \"${VARN_BIN_TO_PROGRAMS}\")
    set(VARN_PROGRAMS_TO_DATA \"${VARN_PROGRAMS_TO_DATA}\")
    set(VARN_DESKTOP_SOURCE \"${CMAKE_SOURCE_DIR}/resources/varn.desktop\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_FILE})

# --- the Debian package: cpack -G DEB in the build directory
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The VARN developers")
set(CPACK_PACKAGE_CONTACT "The VARN developers <varn@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "character generator for the Mistreach role-playing game")
# Continuation lines of the package's long description; CPack indents them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "VARN creates and develops player characters for the tabletop role-playing"
    "game Mistreach: race, attributes, disciplines and circles, talents, skills,"
    "spells, equipment, karma and legend points. It applies the game's rules to"
    "every change, warns where a character breaks a rule, and prints characters"
    "or saves them as text sheets. The game's content comes from plain-text data"
    "files; a complete sample set is included."
    "."
    "The package also holds varn-tool, which checks data sets, writes text sheets"
    "and converts characters from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform plugins are loaded at run time, so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# "Courier New" of the printed sheet falls back to Liberation Mono.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2 | fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_SOURCE_IGNORE_FILES "/build[^/]*/;/\\\\.git/")
include(CPack)
