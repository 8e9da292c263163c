# Helpers shared by the libraries' CMake files.

# pelorin_library_headers(<library>): the library's own headers become visible to it and to whatever links it, and
# nothing else of the tree does. Headers are included by their path from the source root ("app/model/link_info.h"),
# so each library gets an include folder of its own in the build tree holding one link, <folder> -> its source
# folder. A file that includes a header of a library its target does not link then fails to compile.
function(pelorin_library_headers library)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(root ${CMAKE_BINARY_DIR}/include/${library})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    get_target_property(type ${library} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${library} INTERFACE ${root})
    else()
        target_include_directories(${library} PUBLIC ${root})
    endif()
endfunction()

# pelorin_precompile(<target> <headers...>): the headers, precompiled for the C++ files of the target (PELORIN_PCH).
function(pelorin_precompile target)
    if(NOT PELORIN_PCH)
        return()
    endif()
    get_target_property(type ${target} TYPE)
    set(scope PRIVATE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        set(scope INTERFACE)
    endif()
    # One generator expression a header: a list inside one would be split at its semicolons.
    foreach(header IN LISTS ARGN)
        target_precompile_headers(${target} ${scope} "$<$<COMPILE_LANGUAGE:CXX>:${header}>")
    endforeach()
endfunction()

# pelorin_tests(<library> <sources...>): one GoogleTest executable per library, registered with CTest.
function(pelorin_tests library)
    set(target ${library}_tests)
    add_executable(${target} ${ARGN})
    pelorin_precompile(${target} <gtest/gtest.h> <gmock/gmock.h>)
    target_link_libraries(${target} PRIVATE ${library} pelorin_test_support GTest::gtest GTest::gtest_main GTest::gmock)
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
endfunction()

# pelorin_fuzzer(<name> <library> <sources...>): a fuzz target whose sources define LLVMFuzzerTestOneInput and
# WriteFuzzSeeds (testing/fuzz_target.h). Its corpus lives beside the sources in fuzz/<name>/: the seeds and every
# input that once crashed, hung or took too much memory. <name>_replay feeds each of them to the target and runs in
# the normal test run as Fuzz.<name>; "<name>_replay --write-seeds <folder>" writes the seeds. With PELORIN_FUZZ
# (clang) <name> is also built as a libFuzzer program.
function(pelorin_fuzzer name library)
    set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${name})
    add_executable(${name}_replay ${ARGN} ${PROJECT_SOURCE_DIR}/testing/fuzz_replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${library} pelorin_test_support)
    add_test(NAME Fuzz.${name} COMMAND ${name}_replay ${corpus})
    set_tests_properties(Fuzz.${name} PROPERTIES TIMEOUT 600)
    if(PELORIN_FUZZ)
        add_executable(${name} ${ARGN})
        target_link_libraries(${name} PRIVATE ${library} pelorin_test_support)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    endif()
endfunction()

# pelorin_wx(): the interface target pelorin_wx carrying wxWidgets (GTK 3) for the GUI libraries. Only GUI targets
# link it, so a wx header included anywhere below the GUI fails to compile.
function(pelorin_wx)
    if(TARGET pelorin_wx)
        return()
    endif()
    find_package(wxWidgets 3.2 REQUIRED COMPONENTS xrc core base)
    add_library(pelorin_wx INTERFACE)
    target_include_directories(pelorin_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
    target_compile_definitions(pelorin_wx INTERFACE ${wxWidgets_DEFINITIONS})
    target_compile_options(pelorin_wx INTERFACE ${wxWidgets_CXX_FLAGS})
    target_link_libraries(pelorin_wx INTERFACE ${wxWidgets_LIBRARIES})
    # Every target that links wx precompiles its common headers.
    pelorin_precompile(pelorin_wx <wx/wx.h> <wx/xrc/xmlres.h>)
endfunction()

# pelorin_gui_tests(<library> <sources...>): like pelorin_tests(), for tests that open windows. The executable gets a
# main that starts wx, and every test runs on a private virtual display (scripts/with_display.sh), so that tests
# running side by side never share a pointer grab. A wx log message of warning level or above, or a GLib or GTK
# warning, fails the test that raised it (testing/gui_test_main.cpp). Listing the tests needs no display. A library
# whose other tests need no display gives its window tests a program of their own:
# pelorin_gui_tests(<library> NAME <target> ...).
function(pelorin_gui_tests library)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME" "")
    set(target ${library}_tests)
    if(arg_NAME)
        set(target ${arg_NAME})
    endif()
    add_executable(${target} ${arg_UNPARSED_ARGUMENTS} ${PROJECT_SOURCE_DIR}/testing/gui_test_main.cpp)
    pelorin_precompile(${target} <gtest/gtest.h> <gmock/gmock.h>)
    # The main hears what GLib and GTK log, to fail the test that caused a warning.
    if(NOT TARGET PkgConfig::PELORIN_GLIB)
        pkg_check_modules(PELORIN_GLIB REQUIRED IMPORTED_TARGET GLOBAL glib-2.0)
    endif()
    target_link_libraries(${target} PRIVATE ${library} pelorin_test_support pelorin_wx GTest::gtest GTest::gmock
        PkgConfig::PELORIN_GLIB)
    set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/with_display.sh)
    gtest_discover_tests(${target}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        PROPERTIES ENVIRONMENT "PELORIN_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
        DISCOVERY_TIMEOUT 60)
endfunction()
