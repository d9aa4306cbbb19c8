# Install layout and the Debian package. The user guide goes where Help > Index looks for
# it from the program's folder: <bindir>/../share/doc/tagsmith/index.html.
include(GNUInstallDirs)

set(TAGSMITH_DATA "${PROJECT_SOURCE_DIR}/data")
set(TAGSMITH_ICON_SIZES 16 22 24 32 48 64 128 256)

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
install(FILES "${PROJECT_SOURCE_DIR}/docs/man/tagsmith.1" "${PROJECT_SOURCE_DIR}/docs/man/tsmeta.1"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/guide/"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/tagsmith")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tagsmith)
set(CPACK_PACKAGE_VENDOR "${TAGSMITH_COMPANY}")
set(CPACK_PACKAGE_CONTACT "Vantorel <tagsmith@vantorel.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the META tags of web pages")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tagsmith LITE edits the description, keywords, author, robots and charset META tags in "
    "the HEAD of web pages and keeps every other byte of the page. tsmeta reads, audits and "
    "rewrites the tags of whole sites from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.vantorel.com/tagsmith/")
# The Qt libraries come from dpkg-shlibdeps; the platform plugins are loaded at run time,
# so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils")
include(CPack)
