# brevoir_add_test(NAME SOURCES...): one test executable, linked against the whole program,
# run through the headless test main (fresh HOME and XDG folders per process).
# RESOURCE_LOCK names something on the rig that the executable's tests hold for themselves
# (a well-known bus name): CTest then never runs two of them at once.
function(brevoir_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "RESOURCE_LOCK" "")
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE brevoir_core brevoir_test_support brevoir_warnings)
    set(properties TIMEOUT 120 LABELS ${name})
    if(ARG_RESOURCE_LOCK)
        list(APPEND properties RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
    endif()
    gtest_discover_tests(${name}
        TEST_PREFIX "${name}."
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 30
        PROPERTIES ${properties})
endfunction()
