# cmake -DOBJDUMP=<objdump> -DEXE=<exe> -P CheckExe.cmake
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

# DLLs present on every supported Windows (XP and later); anything else would stop the program from starting.
set(allowed advapi32.dll comctl32.dll gdi32.dll gdiplus.dll kernel32.dll msimg32.dll msvcrt.dll ole32.dll
    oleaut32.dll shell32.dll shlwapi.dll user32.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  list(APPEND failures "no import table found")
endif()
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  message(STATUS "imports ${dll}")
  if(NOT dll IN_LIST allowed)
    list(APPEND failures "imports ${dll}, which Windows does not ship")
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
message(STATUS "${EXE}: PE32 i386 GUI, OS and subsystem 5.01, imports only what Windows XP has")
