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

# Precompiled headers (PELORIN_PCH): every target whose files include GoogleTest or wxWidgets, the headers that cost
# seconds to parse each time, reuses one precompiled header of its kind, made once for the whole build by a small
# holder target: GoogleTest with its mocks, the same with wx, and wx alone, each once for programs (-fPIE) and once for
# libraries (-fPIC), as the compiler takes a precompiled header only with the same code model. pelorin_finish() picks
# each target's kind from what it links, so a new target needs nothing. A target with compile options of its own gets
# a header of its own (the compiler may refuse a shared one). Every file still includes what it uses and builds
# without them; the test script's clang build is made without them to keep it so.
set(PELORIN_PCH_HEADERS_gtest <gtest/gtest.h> <gmock/gmock.h>)
set(PELORIN_PCH_HEADERS_wx <wx/wx.h> <wx/xrc/xmlres.h>)
set(PELORIN_PCH_HEADERS_gtest_wx ${PELORIN_PCH_HEADERS_gtest} ${PELORIN_PCH_HEADERS_wx})
set(PELORIN_PCH_LINKS_gtest GTest::gtest GTest::gmock pelorin_test_support)
set(PELORIN_PCH_LINKS_wx pelorin_wx)
set(PELORIN_PCH_LINKS_gtest_wx ${PELORIN_PCH_LINKS_gtest} ${PELORIN_PCH_LINKS_wx})

# pelorin_precompile(<target> <headers...>): the headers, precompiled for the C++ files of the target.
function(pelorin_precompile target)
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

# pelorin_for_programs(<object library>): the library's objects go into programs, so they are compiled as programs'
# are (-fPIE), and share the programs' precompiled headers.
function(pelorin_for_programs target)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE OFF PELORIN_FOR_PROGRAMS ON)
    target_compile_options(${target} PRIVATE -fPIE)
endfunction()

# pelorin_needs_at_run(<target> <targets...>): what the target needs when it runs (the program, the resource folder,
# a host program), made before the target links, and not before it compiles, so the build is not held up. On a
# library, it passes to every program that links the library.
function(pelorin_needs_at_run target)
    set_property(TARGET ${target} APPEND PROPERTY PELORIN_NEEDS_AT_RUN ${ARGN})
endfunction()

# pelorin_outputs(<custom target> <files...>): the files a custom target makes, which a program needing it at run
# time waits for.
function(pelorin_outputs target)
    set_property(TARGET ${target} APPEND PROPERTY PELORIN_OUTPUTS ${ARGN})
endfunction()

# The targets a target links, directly or through others (names of targets only): with COMPILE, only those whose
# compile flags reach it, leaving out what a library links privately.
function(pelorin_link_closure target result)
    cmake_parse_arguments(PARSE_ARGV 2 arg "COMPILE" "" "")
    set(seen)
    set(queue ${target})
    while(queue)
        list(POP_FRONT queue current)
        if(NOT TARGET ${current} OR current IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(type ${current} TYPE)
        set(links)
        if(current STREQUAL target AND NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${current} LINK_LIBRARIES)
            if(direct)
                list(APPEND links ${direct})
            endif()
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        if(interface)
            list(APPEND links ${interface})
        endif()
        foreach(link IN LISTS links)
            if(link MATCHES "^\\$<LINK_ONLY:(.*)>$")
                if(arg_COMPILE)
                    continue()
                endif()
                set(link ${CMAKE_MATCH_1})
            endif()
            if(TARGET ${link})
                get_target_property(aliased ${link} ALIASED_TARGET)
                if(aliased)
                    set(link ${aliased})
                endif()
                list(APPEND queue ${link})
            endif()
        endforeach()
    endwhile()
    set(${result} ${seen} PARENT_SCOPE)
endfunction()

# Every build-system target of a folder and of the folders under it.
function(pelorin_targets_under folder result)
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    foreach(subfolder IN LISTS subfolders)
        pelorin_targets_under(${subfolder} more)
        list(APPEND targets ${more})
    endforeach()
    set(${result} ${targets} PARENT_SCOPE)
endfunction()

# The holder of the precompiled header of one kind, made on first use.
function(pelorin_pch_holder kind model result)
    set(holder pelorin_pch_${kind}_${model})
    if(NOT TARGET ${holder})
        set(source ${CMAKE_BINARY_DIR}/pch/${holder}.cpp)
        file(CONFIGURE OUTPUT ${source} CONTENT "// Holds the precompiled header ${kind} for ${model}.\n")
        add_library(${holder} OBJECT ${source})
        target_link_libraries(${holder} PRIVATE ${PELORIN_PCH_LINKS_${kind}})
        pelorin_precompile(${holder} ${PELORIN_PCH_HEADERS_${kind}})
        if(model STREQUAL "programs")
            pelorin_for_programs(${holder})
        endif()
    endif()
    set(${result} ${holder} PARENT_SCOPE)
endfunction()

# pelorin_finish(): called once all folders are configured. Gives each target its shared precompiled header and
# turns what targets need at run time into dependencies of their link steps.
function(pelorin_finish)
    pelorin_targets_under(${PROJECT_SOURCE_DIR} targets)
    # Options every target gets; the holders have them too.
    get_property(common DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY COMPILE_OPTIONS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$"
           OR target MATCHES "^pelorin_pch_")
            continue()
        endif()
        pelorin_link_closure(${target} closure)
        pelorin_link_closure(${target} compiled COMPILE)

        if(PELORIN_PCH OR PELORIN_WINDOWS_BUILD_ONLY)
            set(kind)
            if(GTest::gtest IN_LIST compiled OR GTest::gmock IN_LIST compiled)
                set(kind gtest)
            endif()
            if(pelorin_wx IN_LIST compiled)
                if(kind)
                    set(kind gtest_wx)
                else()
                    set(kind wx)
                endif()
            endif()
            # Built only to show that they compile, the windows take the wx headers precompiled; the core does not.
            if(NOT PELORIN_PCH AND NOT kind MATCHES "wx")
                set(kind)
            endif()
            get_target_property(options ${target} COMPILE_OPTIONS)
            if(options)
                list(REMOVE_ITEM options ${common})
            endif()
            get_target_property(for_programs ${target} PELORIN_FOR_PROGRAMS)
            get_target_property(own ${target} PRECOMPILE_HEADERS)
            if(own)
                # A target that precompiles headers of its own keeps them.
            elseif(NOT kind)
                # Nothing of the kinds precompiled here.
            elseif(options AND NOT for_programs)
                pelorin_precompile(${target} ${PELORIN_PCH_HEADERS_${kind}})
            elseif(kind)
                set(model libraries)
                if(type STREQUAL "EXECUTABLE" OR for_programs)
                    set(model programs)
                endif()
                pelorin_pch_holder(${kind} ${model} holder)
                set_target_properties(${target} PROPERTIES PRECOMPILE_HEADERS_REUSE_FROM ${holder})
            endif()
        endif()

        get_target_property(cases ${target} PELORIN_CASES_LIST)
        if(cases)
            pelorin_write_test_groups(${target})
        endif()

        if(type STREQUAL "EXECUTABLE")
            set(files)
            foreach(member IN LISTS closure)
                get_target_property(needs ${member} PELORIN_NEEDS_AT_RUN)
                foreach(need IN LISTS needs)
                    if(NOT TARGET ${need})
                        continue()
                    endif()
                    get_target_property(outputs ${need} PELORIN_OUTPUTS)
                    if(outputs)
                        list(APPEND files ${outputs})
                    else()
                        list(APPEND files $<TARGET_FILE:${need}>)
                    endif()
                    # Other generators know no files made in another folder: the whole target is built first.
                    if(NOT CMAKE_GENERATOR MATCHES "Ninja")
                        add_dependencies(${target} ${need})
                    endif()
                endforeach()
            endforeach()
            if(files AND CMAKE_GENERATOR MATCHES "Ninja")
                list(REMOVE_DUPLICATES files)
                set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${files})
            endif()
        endif()
    endforeach()
endfunction()

# pelorin_test_groups(<target> <seconds> [LAUNCHER <command>]): registers the GoogleTest cases of the program with
# CTest in groups, each group one process (cmake/gtest_groups.cmake). A case costs the seconds given unless
# pelorin_long_tests() declares more. The cases are listed after each link (cmake/gtest_list.cmake); CTest reads the
# list and the declared costs when it starts, through the file pelorin_finish() writes.
function(pelorin_test_groups target seconds)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "LAUNCHER" "")
    if(PELORIN_REGISTER_NO_TESTS)
        return()
    endif()
    set(list ${CMAKE_CURRENT_BINARY_DIR}/${target}.cases)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -D program=$<TARGET_FILE:${target}> -D output=${list}
            -P ${PROJECT_SOURCE_DIR}/cmake/gtest_list.cmake
        BYPRODUCTS ${list}
        VERBATIM)
    set_target_properties(${target} PROPERTIES PELORIN_CASES_LIST ${list} PELORIN_CASE_COST ${seconds}
        PELORIN_LAUNCHER "${arg_LAUNCHER}")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/${target}_groups.cmake)
endfunction()

# What one group of cases should hold, in declared seconds: a group runs its cases one after the other, so it
# bounds the wait for the last group, while each group pays once for its process (and its display).
set(PELORIN_GROUP_SECONDS 20)

# The CTest side of pelorin_test_groups(), once every cost is declared.
function(pelorin_write_test_groups target)
    get_target_property(list ${target} PELORIN_CASES_LIST)
    get_target_property(seconds ${target} PELORIN_CASE_COST)
    get_target_property(launcher ${target} PELORIN_LAUNCHER)
    get_target_property(costs ${target} PELORIN_TEST_COSTS)
    get_target_property(folder ${target} BINARY_DIR)
    set(content "# Written by pelorin_finish() (cmake/Pelorin.cmake).\n")
    string(APPEND content "set(pelorin_program [==[$<TARGET_FILE:${target}>]==])\n"
        "set(pelorin_list [==[${list}]==])\n"
        "set(pelorin_name [==[${target}]==])\n"
        "set(pelorin_launcher [==[${launcher}]==])\n"
        "set(pelorin_work_dir [==[${CMAKE_BINARY_DIR}]==])\n"
        "set(pelorin_environment [==[PELORIN_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output]==])\n"
        "set(pelorin_case_cost ${seconds})\n"
        "set(pelorin_group_cost ${PELORIN_GROUP_SECONDS})\n"
        "set(pelorin_costs)\n")
    if(costs)
        foreach(item IN LISTS costs)
            string(APPEND content "list(APPEND pelorin_costs [==[${item}]==])\n")
        endforeach()
    endif()
    string(APPEND content "set(pelorin_alone)\n")
    get_target_property(alone ${target} PELORIN_LONE_TESTS)
    if(alone)
        foreach(item IN LISTS alone)
            string(APPEND content "list(APPEND pelorin_alone [==[${item}]==])\n")
        endforeach()
    endif()
    string(APPEND content "include([==[${PROJECT_SOURCE_DIR}/cmake/gtest_groups.cmake]==])\n")
    file(GENERATE OUTPUT ${folder}/${target}_groups.cmake CONTENT "${content}")
endfunction()

# pelorin_tests(<library> <sources...>): one GoogleTest executable per library, its cases registered with CTest in
# groups (pelorin_test_groups()).
function(pelorin_tests library)
    set(target ${library}_tests)
    add_executable(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE ${library} pelorin_test_support GTest::gtest GTest::gtest_main GTest::gmock)
    pelorin_test_groups(${target} 0.1)
endfunction()

# pelorin_long_tests(<target> <seconds> <regex>...): the cases of the target whose full names match take about that
# long (the last call that matches counts). They are dealt out first, and weigh that much in their group; CTest
# also starts the costliest groups first, as a fresh build has no times of an earlier run to order by, and a long
# group started late would hold up the end of the run alone.
function(pelorin_long_tests target seconds)
    foreach(pattern IN LISTS ARGN)
        set_property(TARGET ${target} APPEND PROPERTY PELORIN_TEST_COSTS ${seconds} ${pattern})
    endforeach()
endfunction()

# pelorin_lone_tests(<target> <regex>...): the cases of the target whose full names match each run in a process of
# their own, under their own names. Only for what a process cannot undo: a window manager started on the display
# (GTK looks for a window manager at most every 15 seconds and keeps what it found, so the cases after one in the
# same process, with or without a manager, would see a display that is not there), or a case about what the process
# has loaded so far.
function(pelorin_lone_tests target)
    set_property(TARGET ${target} APPEND PROPERTY PELORIN_LONE_TESTS ${ARGN})
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
    add_executable(${name}_replay ${ARGN})
    target_link_libraries(${name}_replay PRIVATE ${library} pelorin_test_support pelorin_fuzz_replay_main)
    if(PELORIN_REGISTER_NO_TESTS)
        return()
    endif()
    add_test(NAME Fuzz.${name} COMMAND ${name}_replay ${corpus})
    # A replay takes seconds (a child process an input): it starts among the longer tests.
    set_tests_properties(Fuzz.${name} PROPERTIES TIMEOUT 600 COST 5)
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
    add_executable(${target} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${target} PRIVATE ${library} pelorin_test_support pelorin_gui_test_main pelorin_wx
        GTest::gtest GTest::gmock
        PkgConfig::PELORIN_GLIB)
    # A window case takes a good part of a second where most others take a tenth.
    pelorin_test_groups(${target} 0.3 LAUNCHER ${PROJECT_SOURCE_DIR}/scripts/with_display.sh)
endfunction()
