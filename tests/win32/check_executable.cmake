# Fails unless EXE imports from system DLLs only and holds (read by WINDRES) one 32 x 32 icon
# in 256 colours, the version record and a manifest for DPI awareness and ARCH. With ALLOWED:
# PE32 of version 4 importing only what ALLOWED lists, and ALLOWED holds no call that 9x only
# pretends to have nor one that Windows 98 SE (export lists in WIN98SE) lacks or fails.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
set(faults "")
# "KERNEL32.dll GetFileSize" for every imported function.
string(REGEX REPLACE ".*The Import Tables[^\n]*\n" "" tables "${dump}")
string(REGEX REPLACE "\nThe [^\n]*\n.*" "" tables "${tables}")
string(REPLACE "\n" ";" lines "${tables}")
set(imports "")
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: ([^ \t]+)")
    set(dll "${CMAKE_MATCH_1}")
    if(NOT dll MATCHES "^(KERNEL32|USER32|GDI32|SHLWAPI|ADVAPI32|msvcrt)\\.dll$")
      list(APPEND faults "imports ${dll}, no system DLL")
    endif()
  elseif(line MATCHES "^\t[0-9a-f]+\t +[0-9]+  ([A-Za-z_0-9@]+)$")
    list(APPEND imports "${dll} ${CMAKE_MATCH_1}")
  endif()
endforeach()
if(failed OR NOT imports)
  list(APPEND faults "objdump finds no imports")
endif()

if(WINDRES)
  execute_process(COMMAND ${WINDRES} -i ${EXE} -J coff -O rc OUTPUT_VARIABLE resources)
  foreach(expected IN ITEMS
      "14 /* RT_GROUP_ICON */\nBEGIN\n   0, 1, 1,"  # one icon
      "\"\\040\\040\\000\\000\", 1, 8,"  # 32 x 32, 8 bits
      " FILEVERSION 1, 5, 0, 0\n PRODUCTVERSION 1, 5, 0, 0\n FILEOS 0x4\n FILETYPE 0x1\n"
      "VALUE \"Comments\", \"Windows Millennium Cindermoor v1.5  (http://www.cindermoor.org)\""
      "VALUE \"ProductName\", \"Cindermoor\""
      "VALUE \"FileVersion\", \"1.05\""
      "VALUE \"OriginalFilename\", \"cindermoor.exe\""
      "BLOCK \"040904B0\"" "VALUE \"Translation\", 0x409, 1200"  # US English, Unicode
      "processorArchitecture=\"\"${ARCH}\"\"" "WindowsSettings\"\">true</dpiAware>")
    string(FIND "${resources}" "${expected}" at)
    if(at EQUAL -1)
      list(APPEND faults "the resources lack ${expected}")
    endif()
  endforeach()
endif()

if(ALLOWED)
  if(NOT dump MATCHES "file format pei-i386" OR NOT dump MATCHES
     "MajorOSystemVersion[ \t]+4\n.*MajorSubsystemVersion[ \t]+4\n")
    list(APPEND faults "not PE32 of version 4")
  endif()
  file(STRINGS ${ALLOWED} entries REGEX "^[^#]")
  set(allowed "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "[ \t]*#.*" "" name "${entry}")
    list(APPEND allowed "${name}")
    # Exported by 9x but failing there: the program must not rely on them.
    if(name MATCHES
       " (MoveFileExA|TryEnterCriticalSection|GetHandleInformation|SetProcessAffinityMask)$" OR
       name MATCHES "^KERNEL32.dll [A-Za-z]*(File|Directory|Path|Drive|Volume)[A-Za-z]*W$" OR
       (name MATCHES "W$" AND NOT entry MATCHES "#."))
      list(APPEND faults "the list allows ${name}, which Windows 98 only pretends to have")
    endif()
  endforeach()
  set(unlisted ${imports})
  list(REMOVE_ITEM unlisted ${allowed})
  if(unlisted)
    list(JOIN unlisted ", " unlisted)
    list(APPEND faults "imports what Windows 98 SE may lack: ${unlisted}")
  endif()
  if(EXISTS "${WIN98SE}/win98se-api-allowlist.json")
    file(READ ${WIN98SE}/win98se-api-allowlist.json exported)
    file(READ ${WIN98SE}/win98-behavioral-denylist.json failing)
    foreach(name IN LISTS allowed)
      string(REGEX MATCH "^([^ ]+) (.+)$" function "${name}")
      string(TOLOWER "${CMAKE_MATCH_1}" dll)
      set(function "${CMAKE_MATCH_2}")
      string(JSON names ERROR_VARIABLE missing GET "${exported}" dlls ${dll})
      string(JSON denied ERROR_VARIABLE none GET "${failing}" denied_exports ${dll})
      if(missing OR NOT names MATCHES "\"${function}\"" OR denied MATCHES "\"${function}\"")
        list(APPEND faults "the list allows ${name}, which Windows 98 SE lacks or fails")
      endif()
    endforeach()
  endif()
endif()

if(faults)
  list(JOIN faults "\n  " faults)
  message(FATAL_ERROR "${EXE}:\n  ${faults}")
endif()
