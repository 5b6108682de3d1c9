# Fails when a source folder includes a header of a folder it may not see.
#   cmake -DSOURCE_DIR=<project source folder> -P check_includes.cmake
#
# The layers, bottom up: base/ sees nothing but itself; the file services (the files
# directly in fileops/) see the code page and the memory advice of base/, never the
# identity; the toolkit interface (the headers directly in toolkit/) sees base/; each
# backend sees the interface, itself and base/; modFileOps
# (fileops/modFileOps/) sees the file services, base/ and the interface's message box;
# about/ and editor/ see the interface, fileops/ and base/ (editor/ also opens the About
# window); app/ puts it all together. tests/ and bench/ are not checked.
#
# Each folder has an allow-list of regular expressions over the included path, as written
# from the project's root ("toolkit/form.h"), and may have a deny-list for the headers of
# libraries: only the backends and the Windows side of the file services see a toolkit.
# A file belongs to the deepest folder listed.
set(interface "^toolkit/[^/]+$")
set(layer_folders base fileops fileops/modFileOps toolkit toolkit/qt toolkit/win32 about editor app)
set(allowed_base "^base/")
set(allowed_fileops "^base/(codepage|memory)/" "^fileops/[^/]+$")
set(allowed_fileops/modFileOps "^base/" "^fileops/" "^toolkit/message_box\\.h$")
set(allowed_toolkit "^base/" "${interface}")
set(allowed_toolkit/qt "^base/" "${interface}" "^toolkit/qt/")
set(allowed_toolkit/win32 "^base/" "${interface}" "^toolkit/win32/")
set(allowed_about "^base/" "^fileops/" "${interface}" "^about/")
set(allowed_editor "^base/" "^fileops/" "${interface}" "^about/" "^editor/")
set(allowed_app ".*")

set(qt "^Q")
set(windows "^(windows|win[a-z]*|shlwapi|shellapi|commctrl)\\.h$")
set(denied_base "${qt}" "${windows}")
set(denied_fileops "${qt}")
set(denied_fileops/modFileOps "${qt}" "${windows}")
set(denied_toolkit "${qt}" "${windows}")
set(denied_about "${qt}" "${windows}")
set(denied_editor "${qt}" "${windows}")

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR must name the project's source folder")
endif()

# Top-level folders of the project: an include whose first name is one of them is ours.
file(GLOB top_entries RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(project_folders)
foreach(entry IN LISTS top_entries)
  if(IS_DIRECTORY ${SOURCE_DIR}/${entry} AND NOT entry MATCHES "^(\\.|build)")
    list(APPEND project_folders ${entry})
  endif()
endforeach()
list(JOIN project_folders "|" project_folders_regex)

set(violations 0)
set(checked 0)
foreach(top IN ITEMS base fileops toolkit about editor app)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
       ${SOURCE_DIR}/${top}/*.h ${SOURCE_DIR}/${top}/*.cpp ${SOURCE_DIR}/${top}/*.rc)
  foreach(source IN LISTS sources)
    # The deepest listed folder that holds the file.
    get_filename_component(dir ${source} DIRECTORY)
    set(layer "")
    foreach(folder IN LISTS layer_folders)
      if(dir STREQUAL folder OR dir MATCHES "^${folder}/")
        set(layer ${folder})
      endif()
    endforeach()
    math(EXPR checked "${checked} + 1")
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" header
                           "${line}")
      if(EXISTS ${SOURCE_DIR}/${dir}/${header} AND NOT header MATCHES "^(${project_folders_regex})/")
        # A name beside the file, or reached from it with "..".
        get_filename_component(absolute ${SOURCE_DIR}/${dir}/${header} ABSOLUTE)
        file(RELATIVE_PATH header ${SOURCE_DIR} ${absolute})
      endif()
      if(NOT header MATCHES "^(${project_folders_regex})/")
        # A system or library header.
        foreach(pattern IN LISTS denied_${layer})
          if(header MATCHES "${pattern}")
            message(SEND_ERROR "${source} includes <${header}>, which ${layer}/ may not see")
            math(EXPR violations "${violations} + 1")
          endif()
        endforeach()
        continue()
      endif()
      set(ok FALSE)
      foreach(pattern IN LISTS allowed_${layer})
        if(header MATCHES "${pattern}")
          set(ok TRUE)
          break()
        endif()
      endforeach()
      if(NOT ok)
        message(SEND_ERROR "${source} includes ${header}, which ${layer}/ may not see")
        math(EXPR violations "${violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()
if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) cross a layer")
endif()
message(STATUS "${checked} files: every include stays within its layer")
