# Fails when any C++ source of the project differs from its clang-format form.
file(GLOB_RECURSE files ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/bench/*.cpp ${ROOT}/tools/*.cpp ${ROOT}/tools/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Sources not formatted (run tools/format.sh):\n${err}")
endif()
