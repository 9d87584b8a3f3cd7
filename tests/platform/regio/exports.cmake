# Checks that the shared library exports exactly the driver interface.
# cmake -DNM=<nm> -DLIBRARY=<libregio32.so> -P exports.cmake
execute_process(COMMAND ${NM} -D --defined-only --format=just-symbols ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX REPLACE "\n$" "" symbols "${symbols}")
string(REPLACE "\n" ";" symbols "${symbols}")
list(SORT symbols)
set(expected Close_Driver Open_Driver ReadByte ReadByteBlock ReadWord ReadWordBlock
    Regio_Clock_ns Regio_Tick_ms Start_Driver Stop_Driver WriteByte WriteWord)
if(NOT symbols STREQUAL expected)
  message(FATAL_ERROR "exported: ${symbols}\nexpected: ${expected}")
endif()
