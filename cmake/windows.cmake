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
    # Linux has (pseudo-terminals, links, /dev, signals, the Qt window, the
    # font libraries).
    set(ZEL_WINDOWS_SUITES golden import planning records sequencing shell windows)
    set(ZEL_LINUX_ONLY_TESTS
        import/entities_test.cpp import/limits_test.cpp
        import/text_test.cpp import/text_entities_test.cpp shell/letters_test.cpp
        records/files_test.cpp records/log_writer_test.cpp records/machine_folder_test.cpp
        sequencing/jobrun_test.cpp
        shell/refusals_test.cpp shell/serial_port_test.cpp shell/window_test.cpp shell/work_test.cpp)
    # Wine's prefix under the build folder, made once before the first test.
    set(ZEL_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
    set(ZEL_WINE_ENVIRONMENT WINEPREFIX=${ZEL_WINE_PREFIX} WINEDEBUG=-all
        "WINEDLLOVERRIDES=mscoree,mshtml=")
    add_test(NAME wine_prefix
             COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/wine-prefix.sh ${ZEL_WINE_PREFIX})
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
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
        if(suite STREQUAL "windows")
            # Windows of its own: on a virtual display, in a prefix of its own.
            add_test(NAME ${suite}
                     COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/on-display.sh
                             ${CMAKE_BINARY_DIR}/wine-display $<TARGET_FILE:test_${suite}>)
            set_tests_properties(${suite} PROPERTIES RESOURCE_LOCK x_display)
        else()
            add_test(NAME ${suite} COMMAND test_${suite})
            set_tests_properties(${suite} PROPERTIES FIXTURES_REQUIRED wine)
        endif()
        set_tests_properties(${suite} PROPERTIES TIMEOUT 900 LABELS ${suite}
                             ENVIRONMENT "${ZEL_WINE_ENVIRONMENT}")
    endforeach()

    # The real zel.exe against the real Linux program: a job through the
    # window, and --measure on every drawing the tests have.
    set(ZEL_LINUX_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH
        "The Linux build whose program the Windows one is compared with")
    add_test(NAME desktop
             COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/desktop.sh $<TARGET_FILE:zel>
                     ${ZEL_LINUX_BUILD}/zel ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/desktop)
    set_tests_properties(desktop PROPERTIES TIMEOUT 600 LABELS desktop RESOURCE_LOCK x_display)

    # The Win32 serial code end to end: COM1 of a Wine prefix of its own is a
    # pseudo-terminal on which the Linux zel-sim answers.
    add_test(NAME serial
             COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/serial.sh $<TARGET_FILE:zel>
                     ${ZEL_LINUX_BUILD} ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/serial)
    set_tests_properties(serial PROPERTIES TIMEOUT 600 LABELS serial)
endif()

# Installation: the program, the sample machine folder (its own files only)
# and drawing, laid out as on Linux so that the program finds its sample
# beside its bin folder. The machine folder itself is the operator's
# (%LOCALAPPDATA%/zel-machine), which no uninstaller touches.
install(TARGETS zel RUNTIME DESTINATION bin)
install(FILES examples/machine/setup.dat examples/machine/setup2.dat examples/machine/log.dat
        DESTINATION share/zel/machine)
install(FILES examples/drawings/letters.dxf DESTINATION share/zel/drawings)
install(FILES ${ZEL_ICON} DESTINATION share/zel)
# The manual that F1 shows: Windows has no manual pages.
install(FILES README.md DESTINATION share/doc/zel)

# The installer zel-7.0-win64.exe (NSIS) with its Start menu entries, and the
# portable zel-7.0-win64.zip of the same files.
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_PACKAGE_NAME ZEL)
set(CPACK_PACKAGE_VENDOR "ZEL developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME zel-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ZEL)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "runs the machine that forms the sides of channel letters")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_EXECUTABLES zel ZEL)
# A 64-bit installer for the 64-bit program (it also runs where Windows has
# no 32-bit layer, as on a Wine without one).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${ZEL_ICON})
set(CPACK_NSIS_MUI_UNIICON ${ZEL_ICON})
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\zel.exe")
set(CPACK_NSIS_DISPLAY_NAME "ZEL ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "ZEL ${PROJECT_VERSION}")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# Beside "ZEL": the program on the simulated machine with the sample drawing,
# started in the drawings' folder (a shortcut starts where the installer's
# output folder was when it was made).
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "SetOutPath '$INSTDIR\\\\share\\\\zel\\\\drawings'
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\ZEL on the simulated machine.lnk' '$INSTDIR\\\\bin\\\\zel.exe' '--simulate letters.dxf'
  SetOutPath '$INSTDIR'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA
    "Delete '$SMPROGRAMS\\\\$START_MENU\\\\ZEL on the simulated machine.lnk'")
include(CPack)
