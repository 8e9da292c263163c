# Helpers shared by the libraries' CMake files.

# pelorin_tests(<library> <sources...>): one GoogleTest executable per library, registered with CTest.
function(pelorin_tests library)
    set(target ${library}_tests)
    add_executable(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE ${library} pelorin_test_support GTest::gtest GTest::gtest_main GTest::gmock)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    gtest_discover_tests(${target}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        PROPERTIES ENVIRONMENT "PELORIN_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
        DISCOVERY_TIMEOUT 60)
endfunction()

# pelorin_benchmark(<name> <library> <sources...>): a Google Benchmark executable, built by default, run by hand.
function(pelorin_benchmark name library)
    if(NOT PELORIN_BENCHMARKS)
        return()
    endif()
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE ${library} benchmark::benchmark benchmark::benchmark_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
