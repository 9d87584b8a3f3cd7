# Checks what a Windows file of the build imports and exports, from the
# tables objdump shows (cmake -DOBJDUMP=... -DFILE=... -DKIND=program|bench -P).
#   program: imports exactly the ten driver calls from Regio32.dll, by
#            name, and besides only libraries of the system
#   bench:   exports the ten calls and the bench's clock under their plain
#            names, and imports only libraries of the system
cmake_minimum_required(VERSION 3.25)

# clang-format off
set(driver_calls
  Close_Driver Open_Driver ReadByte ReadByteBlock ReadWord ReadWordBlock
  Start_Driver Stop_Driver WriteByte WriteWord)
set(bench_exports ${driver_calls} Regio_Clock_ns Regio_Tick_ms)
list(SORT bench_exports)
set(system_libraries KERNEL32.dll msvcrt.dll)
# clang-format on

execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${FILE} failed")
endif()
string(REPLACE "\n" ";" lines "${dump}")

# Imports, library by library: "DLL Name: X", then "\t<vma>\t<hint> <name>"
# (a number alone where a call is imported by ordinal). Exports: the lines
# of the "[Ordinal/Name Pointer] Table".
set(library "")
set(libraries)
set(exports)
set(in_exports FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: (.+)$")
    set(library ${CMAKE_MATCH_1})
    list(APPEND libraries ${library})
    set(imports_${library})
  elseif(line MATCHES "^\t[0-9a-f]+\t +([0-9]+)( +(.+))?$" AND library)
    if(CMAKE_MATCH_3)
      list(APPEND imports_${library} ${CMAKE_MATCH_3})
    else()
      list(APPEND imports_${library} "<ordinal ${CMAKE_MATCH_1}>")
    endif()
  elseif(line MATCHES "Ordinal/Name Pointer\\] Table")
    set(in_exports TRUE)
  elseif(in_exports AND line MATCHES "^\t\\[ *[0-9]+\\] (.+)$")
    list(APPEND exports ${CMAKE_MATCH_1})
  elseif(line STREQUAL "" OR line MATCHES "^[A-Z]")
    set(in_exports FALSE)
    if(line MATCHES "^[A-Z]")
      set(library "")
    endif()
  endif()
endforeach()

set(problems)
set(others ${libraries})
if(KIND STREQUAL "program")
  list(REMOVE_ITEM others Regio32.dll)
  if(NOT "Regio32.dll" IN_LIST libraries)
    list(APPEND problems "imports nothing from Regio32.dll")
  else()
    set(found ${imports_Regio32.dll})
    list(SORT found)
    if(NOT found STREQUAL driver_calls)
      list(JOIN found " " found)
      list(JOIN driver_calls " " expected)
      list(APPEND problems "imports from Regio32.dll: ${found}; expected: ${expected}")
    endif()
  endif()
else()
  list(SORT exports)
  if(NOT exports STREQUAL bench_exports)
    list(JOIN exports " " found)
    list(JOIN bench_exports " " expected)
    list(APPEND problems "exports: ${found}; expected: ${expected}")
  endif()
endif()
list(REMOVE_ITEM others ${system_libraries})
if(others)
  list(JOIN others " " others)
  list(APPEND problems "imports from libraries other than the system's: ${others}")
endif()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "${FILE}:\n  ${text}")
endif()
