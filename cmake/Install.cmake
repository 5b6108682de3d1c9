# What is installed: on Windows the executable beside its README and licence (the zip); on
# Linux the program, its menu entry, desktop metadata and icons (the .deb).
include(GNUInstallDirs)
if(WIN32)
  install(TARGETS cindermoor RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
  return()
endif()

set(APP_ID org.cindermoor.Cindermoor)
set(APP_LINUX_DIR ${PROJECT_SOURCE_DIR}/app/linux)
# The release in the metadata is the version record's.
configure_file(${APP_LINUX_DIR}/${APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/app/${APP_ID}.metainfo.xml @ONLY)
install(TARGETS cindermoor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${APP_LINUX_DIR}/${APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/app/${APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/cindermoor-32.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME ${APP_ID}.png)
install(FILES ${PROJECT_SOURCE_DIR}/resources/cindermoor-256.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME ${APP_ID}.png)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CM_INTERNAL_NAME})
