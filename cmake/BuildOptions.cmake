# What every target of the project is compiled with: the warnings, and on Windows the
# defines that keep <windows.h> small and free of the min/max macros. Every target
# created after this file is included links it.
add_library(cindermoor_build_options INTERFACE)
target_compile_options(cindermoor_build_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra>)
if(WIN32)
  target_compile_definitions(cindermoor_build_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX STRICT)
endif()
link_libraries(cindermoor_build_options)
