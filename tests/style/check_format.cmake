# Fails when a C++ source of the tree differs from what .clang-format makes
# of it, and names the files. SOURCE_DIR: the tree; CLANG_FORMAT: the tool.
file(GLOB_RECURSE sources LIST_DIRECTORIES false
     ${SOURCE_DIR}/console/*.cpp ${SOURCE_DIR}/console/*.h
     ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h
     ${SOURCE_DIR}/panels/*.cpp ${SOURCE_DIR}/panels/*.h
     ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tools/*.h
     ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h)
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "no sources found under ${SOURCE_DIR}")
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE report)
if(NOT result EQUAL 0)
  string(REGEX MATCHALL "[^\n]+: error: code should be clang-formatted" lines "${report}")
  set(files "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error: .*" "" file "${line}")
    list(APPEND files ${file})
  endforeach()
  list(REMOVE_DUPLICATES files)
  list(JOIN files "\n  " files)
  message(FATAL_ERROR "not formatted (run clang-format -i on them):\n  ${files}")
endif()
message("${count} sources formatted")
