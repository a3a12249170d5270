# Runs clang-format over every C++ file of src/, tests/ and bench/ without changing them and
# fails when any file is not as .clang-format writes it (the lines are listed).
#   cmake -DCLANG_FORMAT=... -DROOT=... -P CheckFormat.cmake
if(NOT CLANG_FORMAT)
  message(FATAL_ERROR "clang-format was not found when the build was set up: run scripts/setup-deps")
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false
  ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
  ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h)
list(LENGTH files count)
execute_process(COMMAND ${CLANG_FORMAT} --style=file --dry-run --Werror ${files}
  WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Not in the house style (fix with: clang-format -i FILE)")
endif()
message(STATUS "${count} files in the house style")
