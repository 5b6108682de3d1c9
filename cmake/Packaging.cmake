# Packages: a .deb on Linux, a zip of the Windows build.
set(CPACK_PACKAGE_NAME ${CM_INTERNAL_NAME})
set(CPACK_PACKAGE_VENDOR "${CM_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${CM_COMPANY_NAME} <${CM_EMAIL}>")
set(CPACK_PACKAGE_VERSION ${CM_TEXT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the configuration files of a Windows Me system")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://${CM_WEB_SITE}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  # windows-x86 runs on every Windows from 98 SE on; windows-x64 on 64-bit Windows from Vista on.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME windows-x86)
  else()
    set(CPACK_SYSTEM_NAME windows-x64)
  endif()
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION editors)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Cindermoor edits Autoexec.bat, Config.sys, System.ini, Win.ini and the TCP/IP
Hosts and Protocol files of a Windows Me drive: the C: drive of a Wine prefix,
or a mounted Windows disk that a prefix points at.")
  # The libraries come from what the program links; the fonts it draws with are named here.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-dejavu-core")
endif()

include(CPack)
