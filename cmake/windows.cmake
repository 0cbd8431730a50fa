# Windows build (mingw-w64, i686): the program and the tests that run under Wine.
enable_language(RC)
set(WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_RUN})

# No MinGW runtime DLLs beside the program: everything is linked in.
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(corvane_win32 STATIC
    src/platform/win32/win32_accounts.cpp
    src/platform/win32/win32_environment.cpp
    src/platform/win32/win32_files.cpp
    src/platform/win32/win32_registry.cpp
    src/platform/win32/win32_security.cpp
    src/platform/win32/win32_shell.cpp
    src/platform/win32/win32_storage.cpp
    src/platform/win32/win32_system.cpp
    src/platform/win32/win32_url_cache.cpp
    src/platform/win32/win32_url_history.cpp
    src/platform/win32/win32_top_windows.cpp
)
corvane_target(corvane_win32)
target_link_libraries(corvane_win32 PUBLIC corvane_core advapi32 shlwapi shell32 ole32 user32 wininet)

# The windows and dialogs of the program; their templates are in the resource script,
# which every executable that shows them links in.
add_library(corvane_ui STATIC
    src/ui/dialog.cpp
    src/ui/window.cpp
    src/ui/control.cpp
    src/ui/skin_button.cpp
    src/ui/skin_progress_bar.cpp
    src/ui/static_link.cpp
    src/browsers/browser_open_dlg.cpp
    src/app/command_window.cpp
    src/ui/help.cpp
    src/settings/settings_dlg.cpp
    src/settings/keep_cookies_dlg.cpp
    src/app/log_list_box.cpp
    src/app/main_dlg.cpp
)
corvane_target(corvane_ui)
target_link_libraries(corvane_ui PUBLIC corvane_win32 user32 gdi32 comctl32 shell32 ole32)
set(CORVANE_RESOURCES ${CMAKE_SOURCE_DIR}/src/res/corvane.rc)

add_executable(corvane WIN32 src/app/main_win32.cpp ${CORVANE_RESOURCES})
corvane_target(corvane)
target_link_libraries(corvane PRIVATE corvane_ui)

# corvane.hlp beside corvane.exe. Its writer runs on the build machine, so it is compiled
# by the host's compiler, not by mingw.
find_program(CORVANE_HOST_CXX NAMES g++ c++ REQUIRED)
set(CORVANE_HELP_DIR ${CMAKE_SOURCE_DIR}/src/res/helpfile)
set(CORVANE_WRITE_HELP_SOURCES ${CORVANE_HELP_DIR}/helpfile.cpp ${CORVANE_HELP_DIR}/write_help.cpp)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/host/write_help
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${CORVANE_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Wpedantic -Werror
            -I${CMAKE_SOURCE_DIR}/src ${CORVANE_WRITE_HELP_SOURCES}
            -o ${CMAKE_BINARY_DIR}/host/write_help
    DEPENDS ${CORVANE_WRITE_HELP_SOURCES} ${CORVANE_HELP_DIR}/helpfile.h
    COMMENT "Building the help file's writer for the build machine")
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/corvane.hlp
    COMMAND ${CMAKE_BINARY_DIR}/host/write_help ${CORVANE_HELP_DIR}/corvane_help.txt
            ${CMAKE_BINARY_DIR}/corvane.hlp
    DEPENDS ${CMAKE_BINARY_DIR}/host/write_help ${CORVANE_HELP_DIR}/corvane_help.txt
    COMMENT "Writing corvane.hlp")
add_custom_target(corvane_help ALL DEPENDS ${CMAKE_BINARY_DIR}/corvane.hlp)
add_dependencies(corvane corvane_help)

# Pictures of the program's windows, for the main job and the documentation.
add_executable(corvane_window_shot tools/window_shot.cpp)
corvane_target(corvane_window_shot)
target_link_libraries(corvane_window_shot PRIVATE user32 gdi32)

# Figures of speed, printed, never asserted: tools/wine-run.sh PREFIX corvane_bench.exe
add_executable(corvane_bench bench/erasers_bench.cpp)
corvane_target(corvane_bench)
target_link_libraries(corvane_bench PRIVATE corvane_win32 psapi)
add_executable(corvane_log_bench WIN32 bench/log_bench.cpp ${CORVANE_RESOURCES})
corvane_target(corvane_log_bench)
target_link_libraries(corvane_log_bench PRIVATE corvane_ui psapi)
add_executable(corvane_snapshot_bench bench/snapshot_bench.cpp)
corvane_target(corvane_snapshot_bench)
target_link_libraries(corvane_snapshot_bench PRIVATE corvane_win32 psapi)

# GoogleTest from Debian's sources, compiled by the mingw compiler.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(corvane_wine_tests
    tests/wine/autocomplete_wine_test.cpp
    tests/wine/browsers_wine_test.cpp
    tests/wine/help_wine_test.cpp
    tests/wine/main_window_wine_test.cpp
    tests/wine/program_wine_test.cpp
    tests/wine/snapshot_wine_test.cpp
    tests/wine/win32_contract_test.cpp
    ${CORVANE_RESOURCES}
)
corvane_target(corvane_wine_tests)
target_include_directories(corvane_wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(corvane_wine_tests PRIVATE corvane_ui gtest_main gmock uuid)

# The second program the Wine tests start: it opens windows of the browsers' classes and
# fills the URL cache.
add_executable(corvane_wine_helper tests/wine/wine_helper.cpp)
corvane_target(corvane_wine_helper)
target_link_libraries(corvane_wine_helper PRIVATE wininet)
add_dependencies(corvane_wine_tests corvane corvane_wine_helper)

# Each entry runs the Wine tests under one Windows version; the tests read the version
# they run under from CORVANE_WINVER. Wine runs are serialised by the wrapper. Under load,
# Wine has been seen to hang starting a process, before any code of ours runs: a run still
# going after two minutes (a few seconds is usual) is ended and started once more. A run
# that fails is not repeated.
function(corvane_wine_test name winver filter)
    add_test(NAME ${name}
             COMMAND sh -c "for run in 1 2; do timeout -k 10 120 \"$@\"; s=$?; [ $s = 124 ] || exit $s; done; exit 124"
                     sh ${WINE_RUN} $<TARGET_FILE:corvane_wine_tests> --gtest_filter=${filter})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "CORVANE_WINVER=${winver};CORVANE_EXE=$<TARGET_FILE:corvane>"
        RESOURCE_LOCK wineprefix TIMEOUT 300)
endfunction()

corvane_wine_test(wine_winxp winxp "*")
foreach(winver win2k win98 win2003)
    corvane_wine_test(wine_autocomplete_${winver} ${winver} "AutoCompleteUnderWine*")
endforeach()
foreach(winver win95 win98 winme nt40 win2k win2003 win7)
    corvane_wine_test(wine_os_${winver} ${winver} "OsVersion*")
endforeach()
# Clear removes the cache folders as trees on the NT family, only their files on Windows 98.
corvane_wine_test(wine_win98_cache_folders win98 "CacheUnderWine*")
# The release package, unpacked into a fresh folder and run from there.
add_test(NAME wine_package
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine/package_test.sh ${CMAKE_SOURCE_DIR}
                 ${CMAKE_BINARY_DIR})
set_tests_properties(wine_package PROPERTIES RESOURCE_LOCK wineprefix TIMEOUT 300)
