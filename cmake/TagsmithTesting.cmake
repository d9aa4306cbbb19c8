find_package(Qt6 REQUIRED COMPONENTS Test)

# tagsmith_add_test(<name> SOURCES <files...> LIBRARIES <targets...>)
# One test program per component, registered with CTest. Widgets render offscreen
# so the suite runs without a display.
function(tagsmith_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Tagsmith::options Qt6::Test ${ARG_LIBRARIES})
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TAGSMITH_CORPUS=${PROJECT_SOURCE_DIR}/../shared/corpus"
        TIMEOUT 300)
endfunction()

# tagsmith_add_tests(<names...> LIBRARIES <targets...>)
# One test program per name, each built from <name>.cpp against the same libraries.
function(tagsmith_add_tests)
    cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
    foreach(name IN LISTS ARG_UNPARSED_ARGUMENTS)
        tagsmith_add_test(${name} SOURCES ${name}.cpp LIBRARIES ${ARG_LIBRARIES})
    endforeach()
endfunction()
