# cmake -DOBJDUMP=<objdump> -DWINDRES=<windres> -DEXES=<arch>=<exe>[;<arch>=<exe>...] [-DBUILD_TYPE=<type>]
#       -P CheckExe.cmake
# Checks built programs without running them, so on every host: <arch> is i686 or x86_64, what the exe was built
# for. Both read the files of either architecture.
cmake_minimum_required(VERSION 3.25)

# Functions that Windows XP lacks and that the compiler's runtimes are known to reach for: with one of them in
# the import table, XP's loader refuses to start the program. XP's msvcrt.dll has none of the "_s" functions.
set(vista_only "^(GetTickCount64|GetSystemTimePreciseAsFileTime|InitializeCriticalSectionEx|InitializeSRWLock|\
(Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)|InitializeConditionVariable|\
(Sleep|Wake|WakeAll)ConditionVariable(CS|SRW)?|InitOnce[A-Za-z]+|Create(Event|Mutex|Semaphore)Ex[AW]|\
Fls(Alloc|Free|GetValue|SetValue))$")

# The loader looks for an imported DLL beside the exe before the system folder, unless it is a known DLL of
# Windows or the manifest binds it to the system's side-by-side store. Anything else (msimg32.dll, say) would let
# a DLL of that name left next to the program, in a downloads folder, run inside it.
# Known DLLs that Windows 7, 8, 10 and 11 all list:
set(known advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll)
# Bound by the manifest, when it names their assembly (gdiplus.dll is a known DLL only from Windows 10 on):
set(bound_comctl32.dll "Microsoft.Windows.Common-Controls")
set(bound_gdiplus.dll "Microsoft.Windows.GdiPlus")

# The icon's images, by width: what the taskbar, Alt+Tab and Explorer ask for from 100 to 150 per cent and in
# large views.
set(icon_widths 16 24 32 48 256)

# resource_block(<script> <header> <out>): one resource of windres's script, from its header line to its END,
# or nothing.
function(resource_block script header out)
  set(block "")
  string(FIND "${script}" "${header}\nBEGIN\n" start)
  if(start GREATER_EQUAL 0)
    string(SUBSTRING "${script}" ${start} -1 block)
    string(FIND "${block}" "\nEND" end)
    string(SUBSTRING "${block}" 0 ${end} block)
  endif()
  set(${out} "${block}" PARENT_SCOPE)
endfunction()

# check_exe(<arch> <exe>): appends what is wrong with <exe> to the caller's `failures`.
function(check_exe arch exe)
  if(arch STREQUAL "i686")
    set(format "pei-i386")
    set(magic "010b[ \t]+\\(PE32\\)")
    set(manifest_arch "x86")
  elseif(arch STREQUAL "x86_64")
    set(format "pei-x86-64")
    set(magic "020b[ \t]+\\(PE32\\+\\)")
    set(manifest_arch "amd64")
  else()
    message(FATAL_ERROR "unknown architecture '${arch}' for ${exe}")
  endif()
  set(wrong "")

  execute_process(COMMAND ${OBJDUMP} -p ${exe} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    set(failures "${failures};${exe}: objdump failed" PARENT_SCOPE)
    return()
  endif()
  foreach(expected
      "file format ${format}\n"
      "Magic[ \t]+${magic}"
      "MajorOSystemVersion[ \t]+5\n"
      "MinorOSystemVersion[ \t]+1\n"
      "MajorSubsystemVersion[ \t]+5\n"
      "MinorSubsystemVersion[ \t]+1\n"
      "Subsystem[ \t]+00000002[ \t]+\\(Windows GUI\\)")
    if(NOT dump MATCHES "${expected}")
      string(STRIP "${expected}" expected)
      list(APPEND wrong "header lacks '${expected}'")
    endif()
  endforeach()

  # What goes to players carries no symbol table (they stay beside the exe, in its .debug file).
  if(BUILD_TYPE STREQUAL "Release" AND NOT dump MATCHES "\n\tsymbols stripped\n")
    list(APPEND wrong "carries its symbols in a Release build")
  endif()

  # The resources as the compiler wrote them, read back as resource script: the manifest and the icon group.
  execute_process(COMMAND ${WINDRES} -J coff -O rc -i ${exe} OUTPUT_VARIABLE resources RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    list(APPEND wrong "windres could not read its resources")
  endif()

  # The manifest: its text is one quoted piece a line, with quotes doubled.
  resource_block("${resources}" "\n1 24 /* RT_MANIFEST */" manifest)
  if(manifest)
    string(REGEX REPLACE "\\\\n\"\n[ \t]*\"" "\n" manifest "${manifest}")
    string(REPLACE "\"\"" "\"" manifest "${manifest}")
  endif()
  # The program's own architecture, and the system assemblies the manifest binds for that architecture.
  string(REGEX MATCH "<assemblyIdentity[^>]*>" own "${manifest}")
  if(NOT own MATCHES "name=\"QXRVClient\"" OR NOT own MATCHES "processorArchitecture=\"${manifest_arch}\"")
    list(APPEND wrong "its manifest does not name ${manifest_arch} as its architecture")
  endif()
  set(bound "")
  string(REGEX MATCHALL "<dependentAssembly>[^>]*<assemblyIdentity[^>]*>" dependencies "${manifest}")
  foreach(dependency IN LISTS dependencies)
    if(dependency MATCHES "processorArchitecture=\"${manifest_arch}\""
       AND dependency MATCHES "publicKeyToken=\"6595b64144ccf1df\""
       AND dependency MATCHES "name=\"([^\"]+)\"")
      list(APPEND bound "${CMAKE_MATCH_1}")
    endif()
  endforeach()

  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  if(NOT imports)
    list(APPEND wrong "no import table found")
  endif()
  set(said "")
  foreach(line IN LISTS imports)
    string(REGEX REPLACE "DLL Name: " "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    if(dll IN_LIST known)
      list(APPEND said "${dll}")
    elseif(DEFINED bound_${dll} AND bound_${dll} IN_LIST bound)
      list(APPEND said "${dll} (manifest)")
    else()
      list(APPEND wrong "imports ${dll}, which is neither a known DLL nor bound by the manifest")
    endif()
  endforeach()

  string(REGEX MATCHALL "\t[0-9a-f]+\t +[0-9]+  [A-Za-z0-9_]+" named "${dump}")
  if(NOT named)
    list(APPEND wrong "no imported function names found")
  endif()
  foreach(entry IN LISTS named)
    string(REGEX REPLACE ".* " "" name "${entry}")
    if(name MATCHES "${vista_only}")
      list(APPEND wrong "imports ${name}, which Windows XP lacks")
    elseif(name MATCHES "^_?[a-z][a-z0-9]*_s$")
      list(APPEND wrong "imports ${name}, which the msvcrt.dll of Windows XP lacks")
    endif()
  endforeach()

  # The program's icon group (128): its entries begin with a quoted "width height colours reserved", each byte an
  # octal escape; a width of 0 stands for 256.
  resource_block("${resources}" "\n128 14 /* RT_GROUP_ICON */" group)
  string(REGEX MATCHALL "\n[ \t]*\"\\\\[0-7][0-7][0-7]\\\\[0-7][0-7][0-7]\\\\000\\\\000\", 1, 32," entries
         "${group}")
  set(widths "")
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "\\\\([0-7])([0-7])([0-7])" octal "${entry}")
    math(EXPR width "${CMAKE_MATCH_1} * 64 + ${CMAKE_MATCH_2} * 8 + ${CMAKE_MATCH_3}")
    if(width EQUAL 0)
      set(width 256)
    endif()
    list(APPEND widths ${width})
  endforeach()
  list(SORT widths COMPARE NATURAL)
  if(NOT widths STREQUAL icon_widths)
    list(JOIN widths " " seen)
    list(JOIN icon_widths " " wanted)
    list(APPEND wrong "its icon holds images of widths '${seen}', not '${wanted}'")
  endif()

  if(wrong)
    list(TRANSFORM wrong PREPEND "${exe}: ")
    set(failures "${failures};${wrong}" PARENT_SCOPE)
  else()
    list(JOIN said ", " said)
    list(JOIN widths " " widths)
    message(STATUS "${exe}: ${format} GUI for Windows 5.01, manifest for ${manifest_arch}, icon sizes ${widths}; "
                   "imports only system DLLs that Windows XP has: ${said}")
  endif()
endfunction()

if(NOT EXES)
  message(FATAL_ERROR "no exe to check")
endif()
set(failures "")
foreach(entry IN LISTS EXES)
  string(REGEX MATCH "^([^=]+)=(.+)$" pair "${entry}")
  check_exe("${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}")
endforeach()
list(FILTER failures EXCLUDE REGEX "^$")
if(failures)
  string(REPLACE ";" "\n  " text "${failures}")
  message(FATAL_ERROR "\n  ${text}")
endif()
