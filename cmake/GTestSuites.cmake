# Run after a GoogleTest program is linked (cmake -P, see tilmora_test_suites in
# tests/CMakeLists.txt): lists the program's tests and writes its CTest entries into TEST_OUTPUT,
# one entry "<TEST_PREFIX>.<suite>" per test suite, which runs the suite's tests in one process
# (`--gtest_filter=<suite>.*`; GoogleTest names each failing test in the output).
#
# Each entry has the labels TEST_LABELS ("|" between them), the timeout TEST_TIMEOUT (seconds) and
# a COST of about the seconds it takes: the seconds TEST_SUITE_SECONDS gives for the suite
# ("<suite>=<seconds>", "|" between them), else its tests times TEST_MILLISECONDS_PER_TEST. A
# suite of more than 30 seconds is split into shards of about 20 seconds each,
# "<TEST_PREFIX>.<suite>.<i>of<n>", with GoogleTest's own sharding (GTEST_TOTAL_SHARDS,
# GTEST_SHARD_INDEX). An entry whose tests are all disabled is registered disabled.
cmake_minimum_required(VERSION 3.25)

foreach(input TEST_EXECUTABLE TEST_PREFIX TEST_OUTPUT TEST_WORKING_DIRECTORY TEST_LABELS TEST_TIMEOUT
              TEST_MILLISECONDS_PER_TEST)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "GTestSuites.cmake: ${input} is not set")
  endif()
endforeach()
string(REPLACE "|" ";" labels "${TEST_LABELS}")
string(REPLACE "|" ";" suite_seconds "${TEST_SUITE_SECONDS}")
foreach(pair IN LISTS suite_seconds)
  if(NOT pair MATCHES "^([^=]+)=([0-9]+)$")
    message(FATAL_ERROR "GTestSuites.cmake: \"${pair}\" is not <suite>=<seconds>")
  endif()
  set(seconds_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
endforeach()

execute_process(
  COMMAND "${TEST_EXECUTABLE}" --gtest_list_tests
  WORKING_DIRECTORY "${TEST_WORKING_DIRECTORY}"
  OUTPUT_VARIABLE listing
  ERROR_VARIABLE errors
  RESULT_VARIABLE result
  TIMEOUT 60)
if(NOT result EQUAL 0)
  file(REMOVE "${TEST_OUTPUT}")
  message(FATAL_ERROR "${TEST_EXECUTABLE} --gtest_list_tests failed (${result}):\n${listing}\n${errors}")
endif()

# The listing: each suite's name and a dot on a line of its own ("Suite.", or for a typed or
# parameterized suite "Prefix/Suite/0.  # TypeParam = int"), then its tests, indented by two
# spaces ("  Name", "  Name/0  # GetParam() = 4").
set(suites "")
set(suite "")
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" name)
  if(name STREQUAL "")
    continue()
  endif()
  if(line MATCHES "^  ")
    if(suite STREQUAL "")
      continue()
    endif()
    math(EXPR tests_${suite} "${tests_${suite}} + 1")
    if(NOT name MATCHES "^DISABLED_" AND NOT suite MATCHES "(^|/)DISABLED_")
      math(EXPR enabled_${suite} "${enabled_${suite}} + 1")
    endif()
  elseif(name MATCHES "^[^ ]+\\.$")
    string(REGEX REPLACE "\\.$" "" suite "${name}")
    list(APPEND suites "${suite}")
    set(tests_${suite} 0)
    set(enabled_${suite} 0)
  else()
    # Anything else GoogleTest prints ("Running main() from gtest_main.cc").
    set(suite "")
  endif()
endforeach()

string(JOIN ";" label_property ${labels})
set(content "# Written by cmake/GTestSuites.cmake from ${TEST_EXECUTABLE} --gtest_list_tests\n")
foreach(suite IN LISTS suites)
  set(tests ${tests_${suite}})
  if(tests EQUAL 0)
    continue()
  endif()
  if(DEFINED seconds_${suite})
    set(seconds ${seconds_${suite}})
  else()
    math(EXPR seconds "(${tests} * ${TEST_MILLISECONDS_PER_TEST} + 999) / 1000")
  endif()
  set(shards 1)
  if(seconds GREATER 30)
    math(EXPR shards "(${seconds} + 19) / 20")
    if(shards GREATER tests)
      set(shards ${tests})
    endif()
  endif()
  math(EXPR cost "(${seconds} + ${shards} - 1) / ${shards}")
  foreach(index RANGE 1 ${shards})
    set(properties "WORKING_DIRECTORY [==[${TEST_WORKING_DIRECTORY}]==] LABELS [==[${label_property}]==]")
    string(APPEND properties " TIMEOUT ${TEST_TIMEOUT} COST ${cost}")
    if(shards EQUAL 1)
      set(name "${TEST_PREFIX}.${suite}")
    else()
      set(name "${TEST_PREFIX}.${suite}.${index}of${shards}")
      math(EXPR shard "${index} - 1")
      string(APPEND properties " ENVIRONMENT [==[GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${shard}]==]")
    endif()
    if(enabled_${suite} EQUAL 0)
      string(APPEND properties " DISABLED TRUE")
    endif()
    string(APPEND content
      "add_test([==[${name}]==] [==[${TEST_EXECUTABLE}]==] [==[--gtest_filter=${suite}.*]==])\n"
      "set_tests_properties([==[${name}]==] PROPERTIES ${properties})\n")
  endforeach()
endforeach()
file(WRITE "${TEST_OUTPUT}" "${content}")
