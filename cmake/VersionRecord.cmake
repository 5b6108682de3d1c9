# Reads the version record from base/identity/version_record.h, so that the package, the desktop
# metadata and the program share one set of values (CM_APP_TITLE, CM_TEXT_VERSION, ...).
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../base/identity/version_record.h _cm_record REGEX "^#define CM_")
foreach(_cm_line IN LISTS _cm_record)
  if(_cm_line MATCHES "^#define (CM_[A-Z_]+) \"(.*)\"$")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  elseif(_cm_line MATCHES "^#define (CM_[A-Z_]+) ([0-9]+)$")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  endif()
endforeach()
