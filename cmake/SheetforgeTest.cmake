find_package(Qt6 REQUIRED COMPONENTS Test)

# add_sheetforge_test(name SOURCES a.cpp ...) builds one QtTest executable against the core library
# and registers it with CTest, headless.
function(add_sheetforge_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE sheetforgecore sheetforgetestsupport Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SHEETFORGE_TESTS=1"
        TIMEOUT 600)
endfunction()
