# Install layout and the Debian package. The user guide goes where Help > Index looks for
# it from the program's folder, <bindir>/../share/tagsmith/guide/index.html: the program
# needs it, and a system may leave out share/doc (Debian Policy 12.3). share/doc/tagsmith/guide
# links to it.
include(GNUInstallDirs)

set(TAGSMITH_DATA "${PROJECT_SOURCE_DIR}/data")
set(TAGSMITH_ICON_SIZES 16 22 24 32 48 64 128 256)
set(TAGSMITH_PACKAGER "Vantorel <tagsmith@vantorel.com>")
set(TAGSMITH_HOMEPAGE "https://www.vantorel.com/tagsmith/")
# The packaging revision: the Debian changelog, not the program, changes with it.
set(TAGSMITH_DEB_RELEASE 1)
set(TAGSMITH_DEB_VERSION "${PROJECT_VERSION}-${TAGSMITH_DEB_RELEASE}")
set(TAGSMITH_DOCS_BUILD "${PROJECT_BINARY_DIR}/package-docs")
find_program(TAGSMITH_GZIP gzip REQUIRED)

# Debian wants man pages and changelogs compressed at the highest level and without a time
# stamp (-9n). Done at configure time, so that building only the programs still leaves
# everything the install rules name; a changed source re-runs the configure step.
function(tagsmith_gzip source target)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
    if(NOT EXISTS "${target}" OR "${source}" IS_NEWER_THAN "${target}")
        execute_process(COMMAND "${TAGSMITH_GZIP}" -9n --stdout "${source}"
                        OUTPUT_FILE "${target}" COMMAND_ERROR_IS_FATAL ANY)
    endif()
endfunction()

# The copyright file in the Debian format, its holder and licence text taken from LICENSE;
# the text indented by one space, an empty line written as " .".
function(tagsmith_write_copyright target)
    set(license "${PROJECT_SOURCE_DIR}/LICENSE")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${license}")
    file(READ "${license}" text)
    string(FIND "${text}" "Permission is hereby granted" start)
    if(NOT text MATCHES "Copyright \\(c\\) ([^\n]+)" OR start EQUAL -1)
        message(FATAL_ERROR "${license} holds no MIT copyright and permission notice")
    endif()
    set(TAGSMITH_COPYRIGHT "${CMAKE_MATCH_1}")
    string(SUBSTRING "${text}" ${start} -1 text)
    string(STRIP "${text}" text)
    string(REPLACE "\n" "\n " text " ${text}")
    string(REPLACE "\n \n" "\n .\n" TAGSMITH_LICENSE_TEXT "${text}")
    configure_file("${TAGSMITH_DATA}/debian/copyright.in" "${target}" @ONLY)
endfunction()

tagsmith_write_copyright("${TAGSMITH_DOCS_BUILD}/copyright")
configure_file("${TAGSMITH_DATA}/debian/changelog.in" "${TAGSMITH_DOCS_BUILD}/changelog.Debian" @ONLY)
tagsmith_gzip("${TAGSMITH_DOCS_BUILD}/changelog.Debian" "${TAGSMITH_DOCS_BUILD}/changelog.Debian.gz")
foreach(page tagsmith tsmeta)
    tagsmith_gzip("${PROJECT_SOURCE_DIR}/docs/man/${page}.1" "${TAGSMITH_DOCS_BUILD}/${page}.1.gz")
endforeach()

install(TARGETS tagsmith tsmeta RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${TAGSMITH_DATA}/com.vantorel.tagsmith.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${TAGSMITH_DATA}/com.vantorel.tagsmith.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${TAGSMITH_DATA}/icons/tagsmith.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
foreach(size IN LISTS TAGSMITH_ICON_SIZES)
    install(FILES "${TAGSMITH_DATA}/icons/hicolor/${size}x${size}/tagsmith.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
install(FILES "${TAGSMITH_DOCS_BUILD}/tagsmith.1.gz" "${TAGSMITH_DOCS_BUILD}/tsmeta.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
# Where bash-completion looks up a command's completion the first time it is completed.
install(FILES "${TAGSMITH_DATA}/bash-completion/tsmeta"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/guide/"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/tagsmith/guide")
# A relative link, made here and installed as it is, so that it holds in any prefix.
file(CREATE_LINK ../../tagsmith/guide "${TAGSMITH_DOCS_BUILD}/guide" SYMBOLIC)
install(FILES "${TAGSMITH_DOCS_BUILD}/guide" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/tagsmith")
install(FILES "${TAGSMITH_DOCS_BUILD}/copyright" "${TAGSMITH_DOCS_BUILD}/changelog.Debian.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/tagsmith")
install(FILES "${TAGSMITH_DATA}/debian/lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME tagsmith)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tagsmith)
set(CPACK_PACKAGE_VENDOR "${TAGSMITH_COMPANY}")
set(CPACK_PACKAGE_CONTACT "${TAGSMITH_PACKAGER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the META tags of web pages")
# Debian's description lines must fit in 80 columns, the space CPack adds included.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tagsmith LITE edits the description, keywords, author, robots and charset\n"
    "META tags in the HEAD of web pages and keeps every other byte of the page.\n"
    "tsmeta reads, audits and rewrites the tags of whole sites from the command\n"
    "line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TAGSMITH_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAGSMITH_HOMEPAGE}")
# The Qt libraries come from dpkg-shlibdeps; the platform plugins are loaded at run time,
# so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils")
include(CPack)
