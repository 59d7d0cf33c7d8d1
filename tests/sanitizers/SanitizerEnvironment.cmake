# Included last by tests/CMakeLists.txt: in an ASAN build every test runs with leak detection on
# and stops at its first finding. The suppression files name third-party code only.
if(ASAN)
    set(KORVELL_SANITIZER_ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:check_initialization_order=1:detect_stack_use_after_return=0"
        "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0"
        "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=${CMAKE_CURRENT_LIST_DIR}/ubsan.supp")
    get_property(korvell_sanitized_tests DIRECTORY PROPERTY TESTS)
    foreach(test ${korvell_sanitized_tests})
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${KORVELL_SANITIZER_ENVIRONMENT})
    endforeach()
endif()
