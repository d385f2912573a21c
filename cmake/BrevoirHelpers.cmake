# brevoir_add_test(NAME SOURCES...): one test executable, linked against the whole program,
# run through the headless test main (fresh HOME and XDG folders per process).
function(brevoir_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE brevoir_core brevoir_test_support brevoir_warnings)
    gtest_discover_tests(${name}
        TEST_PREFIX "${name}."
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 30
        PROPERTIES TIMEOUT 120 LABELS ${name})
endfunction()
