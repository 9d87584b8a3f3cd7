# Windows: the bench as Regio32.dll, in bench/ of the build tree, away from
# the programs in bin/, as it is shipped; and the import library through
# which the programs link to Regio32.dll by name, made from our own
# module-definition file, so that the maker's library takes the bench's place
# unchanged.
# The 32-bit compiler has no 128-bit integer: every Windows bench computes
# with the stand-in, so the 64-bit one under Wine tests the 32-bit one's sums.
target_compile_definitions(regio_bench_objects PRIVATE REGIO_U128_STAND_IN)
add_library(regio32 SHARED $<TARGET_OBJECTS:regio_bench_objects>)
target_link_libraries(regio32 PRIVATE config_file)
set_target_properties(regio32 PROPERTIES
  OUTPUT_NAME Regio32
  PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})  # its own import library: unused
# Exported are the calls marked for export, under their plain names.
target_link_options(regio32 PRIVATE LINKER:--kill-at LINKER:--no-undefined)

# The 64-bit compiler gives the calls plain names: the @n suffixes go.
set(def ${CMAKE_CURRENT_SOURCE_DIR}/regio32.def)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  file(READ ${def} text)
  string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  set(def ${CMAKE_CURRENT_BINARY_DIR}/regio32_plain.def)
  file(CONFIGURE OUTPUT ${def} CONTENT "${text}" @ONLY)
endif()
set(import_lib ${CMAKE_BINARY_DIR}/lib/libregio32.a)
add_custom_command(OUTPUT ${import_lib}
  COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${def} --output-lib ${import_lib}
  DEPENDS ${def} ${CMAKE_CURRENT_SOURCE_DIR}/regio32.def
  COMMENT "Import library of Regio32.dll")
add_custom_target(regio32_import_lib DEPENDS ${import_lib})

# The programs link the import library; the bench is built with them, so
# that a build can run them.
add_library(regio32_import INTERFACE)
target_include_directories(regio32_import INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(regio32_import INTERFACE ${import_lib})
add_dependencies(regio32_import regio32_import_lib regio32)
