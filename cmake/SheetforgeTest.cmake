find_package(Qt6 REQUIRED COMPONENTS Test)

# add_sheetforge_test(name SOURCES a.cpp ...) builds one QtTest executable against the libraries and registers
# it with CTest, headless.
function(add_sheetforge_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE sheetforgeui sheetforgetestsupport Qt6::Test)
    # Designated initialisers name only the fields a case sets.
    target_compile_options(${name} PRIVATE -Wno-missing-field-initializers)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANGUAGE="
        TIMEOUT 300)
endfunction()
