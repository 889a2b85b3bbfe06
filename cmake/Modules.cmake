# Each subsystem under src/<name>/ becomes two static libraries:
#   tovrik_core_<name>     the portable sources in src/<name>/*.cpp (no OS or toolkit headers)
#   tovrik_<backend>_<name> the platform sources in src/<name>/<backend>/*.cpp, if any
# and one interface target tovrik_<name> that links both, for users of the subsystem.
# The core may call functions that only the backend defines (link-time ports), so the two
# libraries link each other; CMake repeats cyclic static libraries on the link line.
#
# Program text inside the core is code page 936: string literals are compiled to GBK bytes.
# The Linux backend talks to Qt and the file system in UTF-8 and keeps UTF-8 literals.

set(TOVRIK_GBK_LITERALS -finput-charset=UTF-8 -fexec-charset=GBK)
# Test executables whose Windows backend tests (suites named Win32*) need a desktop.
set(TOVRIK_DESKTOP_TEST_TARGETS ui_tests app_tests capture_tests)

function(tovrik_module name)
    cmake_parse_arguments(ARG "" "" "DEPS;LINUX_LIBS;WIN32_LIBS" ${ARGN})
    set(dir ${CMAKE_CURRENT_SOURCE_DIR})
    file(GLOB core_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    file(GLOB backend_sources CONFIGURE_DEPENDS ${dir}/${TOVRIK_BACKEND}/*.cpp)

    set(core tovrik_core_${name})
    set(backend tovrik_${TOVRIK_BACKEND}_${name})
    add_library(tovrik_${name} INTERFACE)

    if(core_sources)
        add_library(${core} STATIC ${core_sources})
        target_include_directories(${core} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_compile_options(${core} PRIVATE ${TOVRIK_GBK_LITERALS})
        target_link_libraries(${core} PUBLIC ${ARG_DEPS} PRIVATE tovrik_warnings)
        target_link_libraries(tovrik_${name} INTERFACE ${core})
    else()
        target_include_directories(tovrik_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(tovrik_${name} INTERFACE ${ARG_DEPS})
    endif()

    if(backend_sources)
        add_library(${backend} STATIC ${backend_sources})
        target_include_directories(${backend} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        if(TOVRIK_BACKEND STREQUAL "win32")
            target_compile_options(${backend} PRIVATE ${TOVRIK_GBK_LITERALS})
            target_link_libraries(${backend} PUBLIC ${ARG_WIN32_LIBS})
        else()
            target_link_libraries(${backend} PUBLIC ${ARG_LINUX_LIBS})
        endif()
        target_link_libraries(${backend} PUBLIC ${ARG_DEPS} PRIVATE tovrik_warnings)
        if(core_sources)
            target_link_libraries(${backend} PUBLIC ${core})
            target_link_libraries(${core} PUBLIC ${backend})
        endif()
        target_link_libraries(tovrik_${name} INTERFACE ${backend})
    endif()
    set_property(GLOBAL APPEND PROPERTY TOVRIK_MODULES tovrik_${name})
endfunction()

# Tests of a subsystem: tests/<name>/*.cpp plus tests/<name>/<backend>/*.cpp in one executable
# <name>_tests. Fakes (tests/fakes) are linked only when asked for, so that the tests of the
# low layers build without the rest of the program.
function(tovrik_module_tests name)
    cmake_parse_arguments(ARG "FAKES" "" "LIBS" ${ARGN})
    set(dir ${CMAKE_CURRENT_SOURCE_DIR})
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/${TOVRIK_BACKEND}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name}_tests ${sources})
    target_compile_options(${name}_tests PRIVATE ${TOVRIK_GBK_LITERALS})
    target_include_directories(${name}_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name}_tests PRIVATE tovrik_${name} tovrik_testutil ${ARG_LIBS} GTest::gmock
                          GTest::gtest_main tovrik_warnings)
    if(ARG_FAKES)
        target_link_libraries(${name}_tests PRIVATE tovrik_fakes)
    endif()
    tovrik_add_gtest(${name}_tests)
endfunction()

# Registers a GoogleTest executable with ctest. Under the Windows build the executable runs in
# Wine, and the verdict comes from GoogleTest's own summary: Wine's exit code can say 0 when
# the program never started.
# A skipped test fails the run: a test whose prerequisite is missing must be seen, not counted as
# passed. The Windows tests that need a desktop run in their own Xvfb pass (tests/e2e), so the
# plain pass of those modules leaves them out instead of skipping them.
function(tovrik_add_gtest target)
    if(TOVRIK_BACKEND STREQUAL "win32")
        set(filter)
        if(target IN_LIST TOVRIK_DESKTOP_TEST_TARGETS)
            set(filter --gtest_filter=-Win32*)
        endif()
        add_test(NAME ${target} COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/wine-gtest.sh $<TARGET_FILE:${target}>
                                        ${filter})
    else()
        add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
    endif()
    set_tests_properties(${target} PROPERTIES TIMEOUT 600 FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
