# The Windows build's tests, run under Wine (CMAKE_CROSSCOMPILING_EMULATOR),
# and its packages: the NSIS installer and the portable zip.

# Tests: GoogleTest built from Debian's sources with the cross compiler. Each
# suite below the window runs as one test under Wine (a test at a time would
# start Wine hundreds of times); the Win32 layer's suite and the desktop test
# need a display (Xvfb).
include(CTest)
if(BUILD_TESTING)
    add_compile_definitions(_USE_MATH_DEFINES)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

    # Test support: Windows has its own temporary folders and process start;
    # the pseudo-terminals and the fake /dev tree are Linux's.
    file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS tests/support/*.cpp)
    list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "/(support|devices|pty_controller)\\.cpp$")
    add_library(zel_testsupport STATIC ${SUPPORT_SOURCES} tests/windows/support_windows.cpp)
    target_link_libraries(zel_testsupport PUBLIC zel_core zel_sim gtest gmock)
    target_include_directories(zel_testsupport PUBLIC ${CMAKE_SOURCE_DIR})
    # Wine shows this machine's root as the drive Z:.
    target_compile_definitions(zel_testsupport PUBLIC
        ZEL_BINARY="Z:$<TARGET_FILE:zel>"
        ZEL_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}")

    # The suites that run on Windows, less the files that test what only
    # Linux has (pseudo-terminals, links, /dev, signals, the Qt window).
    set(ZEL_WINDOWS_SUITES golden import planning records sequencing shell windows)
    set(ZEL_LINUX_ONLY_TESTS
        import/entities_test.cpp import/limits_test.cpp
        records/files_test.cpp records/log_writer_test.cpp records/machine_folder_test.cpp
        sequencing/jobrun_test.cpp
        shell/refusals_test.cpp shell/serial_port_test.cpp shell/window_test.cpp shell/work_test.cpp)
    set(ZEL_WINE_ENVIRONMENT WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
        "WINEDLLOVERRIDES=mscoree,mshtml=")
    foreach(suite ${ZEL_WINDOWS_SUITES})
        file(GLOB suite_sources CONFIGURE_DEPENDS tests/${suite}/*_test.cpp)
        foreach(linux_only ${ZEL_LINUX_ONLY_TESTS})
            list(REMOVE_ITEM suite_sources ${CMAKE_SOURCE_DIR}/tests/${linux_only})
        endforeach()
        add_executable(test_${suite} ${suite_sources})
        target_link_libraries(test_${suite} PRIVATE zel_testsupport gtest_main)
        if(suite STREQUAL "windows")
            target_link_libraries(test_${suite} PRIVATE zel_win32)
        endif()
        add_test(NAME ${suite} COMMAND test_${suite})
        set_tests_properties(${suite} PROPERTIES TIMEOUT 900 LABELS ${suite}
                             ENVIRONMENT "${ZEL_WINE_ENVIRONMENT}" RESOURCE_LOCK wine)
    endforeach()
endif()
