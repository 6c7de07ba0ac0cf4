# cmake -DOBJDUMP=<objdump> -DEXE=<exe> [-DBUILD_TYPE=<type>] -P CheckExe.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()

set(failures "")
foreach(expected
    "file format pei-i386"
    "Magic[ \t]+010b[ \t]+\\(PE32\\)"
    "MajorOSystemVersion[ \t]+5\n"
    "MinorOSystemVersion[ \t]+1\n"
    "MajorSubsystemVersion[ \t]+5\n"
    "MinorSubsystemVersion[ \t]+1\n"
    "Subsystem[ \t]+00000002[ \t]+\\(Windows GUI\\)")
  if(NOT dump MATCHES "${expected}")
    list(APPEND failures "header lacks '${expected}'")
  endif()
endforeach()

# What goes to players carries no symbol table (they stay beside the exe, in its .debug file).
if(BUILD_TYPE STREQUAL "Release" AND NOT dump MATCHES "\n\tsymbols stripped\n")
  list(APPEND failures "carries its symbols in a Release build")
endif()

# The loader looks for an imported DLL beside the exe before the system folder, unless it is a known DLL of
# Windows or the manifest binds it to the system's side-by-side store. Anything else (msimg32.dll, say) would let
# a DLL of that name left next to the program, in a downloads folder, run inside it.
# Known DLLs that Windows 7, 8, 10 and 11 all list:
set(known advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll)
# Bound by the manifest, when it names their assembly (gdiplus.dll is a known DLL only from Windows 10 on):
set(bound_comctl32.dll "Microsoft.Windows.Common-Controls")
set(bound_gdiplus.dll "Microsoft.Windows.GdiPlus")

# The names of the x86 system assemblies that the manifest embedded in the exe depends on.
file(STRINGS ${EXE} manifest_lines REGEX "<assemblyIdentity|<dependentAssembly|name=|publicKeyToken=")
string(REPLACE ";" " " manifest "${manifest_lines}")
string(REGEX MATCHALL "<dependentAssembly>[^>]*<assemblyIdentity[^>]*>" dependencies "${manifest}")
set(bound "")
foreach(dependency IN LISTS dependencies)
  if(dependency MATCHES "name=\"([^\"]+)\"" AND dependency MATCHES "processorArchitecture=\"x86\""
     AND dependency MATCHES "publicKeyToken=\"6595b64144ccf1df\"")
    string(REGEX MATCH "name=\"([^\"]+)\"" name "${dependency}")
    list(APPEND bound "${CMAKE_MATCH_1}")
  endif()
endforeach()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  list(APPEND failures "no import table found")
endif()
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  if(dll IN_LIST known)
    message(STATUS "imports ${dll}, a known DLL")
  elseif(DEFINED bound_${dll} AND bound_${dll} IN_LIST bound)
    message(STATUS "imports ${dll}, bound by the manifest to ${bound_${dll}}")
  else()
    list(APPEND failures "imports ${dll}, which is neither a known DLL nor bound by the manifest")
  endif()
endforeach()

# Functions that Windows XP lacks and that the compiler's runtimes are known to reach for: with one of them in
# the import table, XP's loader refuses to start the program. XP's msvcrt.dll has none of the "_s" functions.
set(vista_only "^(GetTickCount64|GetSystemTimePreciseAsFileTime|InitializeCriticalSectionEx|InitializeSRWLock|\
(Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)|InitializeConditionVariable|\
(Sleep|Wake|WakeAll)ConditionVariable(CS|SRW)?|InitOnce[A-Za-z]+|Create(Event|Mutex|Semaphore)Ex[AW]|\
Fls(Alloc|Free|GetValue|SetValue))$")
string(REGEX MATCHALL "\t[0-9a-f]+\t +[0-9]+  [A-Za-z0-9_]+" named "${dump}")
foreach(entry IN LISTS named)
  string(REGEX REPLACE ".* " "" name "${entry}")
  if(name MATCHES "${vista_only}")
    list(APPEND failures "imports ${name}, which Windows XP lacks")
  elseif(name MATCHES "^_?[a-z][a-z0-9]*_s$")
    list(APPEND failures "imports ${name}, which the msvcrt.dll of Windows XP lacks")
  endif()
endforeach()

if(failures)
  string(REPLACE ";" "\n  " text "${failures}")
  message(FATAL_ERROR "${EXE}:\n  ${text}")
endif()
message(STATUS "${EXE}: PE32 i386 GUI, OS and subsystem 5.01, imports only system DLLs that Windows XP has")
