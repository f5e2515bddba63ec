# Every test of the suite has a name a person can read: a parameterised test printed as
# raw memory ("56-byte object <8D-72 …>") has a different name in every build.
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} -N WORKING_DIRECTORY ${BUILD} OUTPUT_VARIABLE listing
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ctest -N failed in ${BUILD}")
endif()
string(REGEX MATCHALL "[^\n]*-byte object[^\n]*" unreadable "${listing}")
if(unreadable)
  list(JOIN unreadable "\n" shown)
  message(FATAL_ERROR "tests named by raw bytes:\n${shown}")
endif()
