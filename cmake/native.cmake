# Native build: the core against the in-memory platform, with GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

add_library(corvane_memory STATIC
    src/platform/memory/memory_accounts.cpp
    src/platform/memory/memory_security.cpp
    src/platform/memory/memory_environment.cpp
    src/platform/memory/memory_files.cpp
    src/platform/memory/memory_registry.cpp
    src/platform/memory/memory_shell.cpp
    src/platform/memory/memory_storage.cpp
    src/platform/memory/memory_system.cpp
    src/platform/memory/memory_url_cache.cpp
    src/platform/memory/memory_url_history.cpp
    src/platform/memory/memory_top_windows.cpp
)
corvane_target(corvane_memory)
target_link_libraries(corvane_memory PUBLIC corvane_core)

if(CORVANE_FUZZ)
    # Restore fed arbitrary stream contents, and the record readers fed arbitrary bytes.
    # A bounded run of each is a test; tools/fuzz.sh runs them for long.
    foreach(fuzzer restore_fuzzer records_fuzzer)
        add_executable(${fuzzer} tests/fuzz/${fuzzer}.cpp)
        corvane_target(${fuzzer})
        target_include_directories(${fuzzer} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        target_link_libraries(${fuzzer} PRIVATE corvane_memory GTest::gtest)
        target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/corpus/${fuzzer})
    endforeach()
    add_test(NAME restore_fuzzer COMMAND restore_fuzzer -runs=2000 -max_len=4096 -seed=1
                                         ${CMAKE_BINARY_DIR}/corpus/restore_fuzzer)
    add_test(NAME records_fuzzer COMMAND records_fuzzer -runs=50000 -max_len=4096 -seed=1
                                         ${CMAKE_BINARY_DIR}/corpus/records_fuzzer)
    return()
endif()

add_executable(corvane_tests
    tests/state/activity_log_test.cpp
    tests/app/command_line_test.cpp
    tests/state/command_state_test.cpp
    tests/browsers/browser_traces_test.cpp
    tests/browsers/open_browsers_test.cpp
    tests/autocomplete/autocomplete_eraser_test.cpp
    tests/clean/eraser_tables_test.cpp
    tests/clean/file_erasers_test.cpp
    tests/clean/index_dat_test.cpp
    tests/clean/registry_erasers_test.cpp
    tests/clean/run_driver_test.cpp
    tests/clean/url_erasers_test.cpp
    tests/platform/memory_contract_test.cpp
    tests/settings/settings_store_test.cpp
    tests/snapshot/round_trip_test.cpp
    tests/snapshot/snapshot_test.cpp
    tests/sweep/fault_sweep_test.cpp
)
corvane_target(corvane_tests)
target_include_directories(corvane_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(corvane_tests PRIVATE corvane_memory GTest::gtest_main GTest::gmock)
gtest_discover_tests(corvane_tests DISCOVERY_TIMEOUT 60)

# The round-trip property as a tool for long runs: corvane_round_trip --count N [--seed S].
add_executable(corvane_round_trip tests/snapshot/round_trip_test.cpp tools/round_trip.cpp)
corvane_target(corvane_round_trip)
target_include_directories(corvane_round_trip PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(corvane_round_trip PRIVATE corvane_memory GTest::gtest GTest::gmock)

# The help file's writer, and its test reading what it writes from the real source.
add_library(corvane_helpfile STATIC src/res/helpfile/helpfile.cpp)
corvane_target(corvane_helpfile)
add_executable(corvane_write_help src/res/helpfile/write_help.cpp)
corvane_target(corvane_write_help)
target_link_libraries(corvane_write_help PRIVATE corvane_helpfile)

add_executable(corvane_helpfile_test tests/res/helpfile_test.cpp)
corvane_target(corvane_helpfile_test)
target_compile_definitions(corvane_helpfile_test PRIVATE
    CORVANE_WRITE_HELP="$<TARGET_FILE:corvane_write_help>"
    CORVANE_HELP_SOURCE="${CMAKE_SOURCE_DIR}/src/res/helpfile/corvane_help.txt"
    CORVANE_TEST_DIR="${CMAKE_CURRENT_BINARY_DIR}")
target_link_libraries(corvane_helpfile_test PRIVATE GTest::gtest_main)
add_dependencies(corvane_helpfile_test corvane_write_help)
gtest_discover_tests(corvane_helpfile_test DISCOVERY_TIMEOUT 60)
