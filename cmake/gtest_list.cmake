# Run after a test program links (cmake -P): writes the program's GoogleTest cases, one full name a line, to
# output, from which CTest makes its groups (cmake/gtest_groups.cmake). The file is rewritten only when the cases
# change. Listing needs no display: the window tests' main lists before it starts the toolkit.
#   cmake -D program=<executable> -D output=<file> -P gtest_list.cmake

execute_process(COMMAND ${program} --gtest_list_tests
    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 120)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${program} --gtest_list_tests failed (${status}):\n${listing}${errors}")
endif()

# Suites start at the margin, cases are indented; parameterised ones carry a comment after their name.
set(cases)
set(suite)
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "[ ]+#.*$" "" line "${line}")
    if(line MATCHES "^  ([^ ]+)$")
        list(APPEND cases "${suite}${CMAKE_MATCH_1}")
    elseif(line MATCHES "^([^ ]+[.])$")
        set(suite "${CMAKE_MATCH_1}")
    endif()
endforeach()
list(JOIN cases "\n" content)
if(EXISTS ${output})
    file(READ ${output} before)
    if(before STREQUAL "${content}\n")
        return()
    endif()
endif()
file(WRITE ${output} "${content}\n")
