find_package(Qt6 REQUIRED COMPONENTS Test)

# tagsmith_label_tests(<names...> [LABELS <extra labels...>])
# Labels each test with the layer its folder under tests/ tests (tests/tools: tsmeta), so
# that `ctest -L widgets` runs one layer's tests, as scripts/mutate does.
function(tagsmith_label_tests)
    cmake_parse_arguments(ARG "" "" "LABELS" ${ARGN})
    file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}/tests" "${CMAKE_CURRENT_SOURCE_DIR}")
    string(REGEX REPLACE "/.*" "" layer "${folder}")
    if(layer STREQUAL "tools")
        set(layer tsmeta)
    endif()
    set(labels ${layer} ${ARG_LABELS})
    set_tests_properties(${ARG_UNPARSED_ARGUMENTS} PROPERTIES LABELS "${labels}")
endfunction()

# tagsmith_add_test(<name> [X_SERVER] SOURCES <files...> LIBRARIES <targets...>)
# One test program per component, registered with CTest. Widgets render offscreen
# so the suite runs without a display. X_SERVER gives the program a virtual X server of
# its own besides, for what Qt does only on X11; without xvfb-run it is built, not run.
function(tagsmith_add_test name)
    cmake_parse_arguments(ARG "X_SERVER" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Tagsmith::options Qt6::Test ${ARG_LIBRARIES})
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
    if(ARG_X_SERVER)
        find_program(XVFB_RUN xvfb-run)
        if(NOT XVFB_RUN)
            message(WARNING "xvfb-run missing: ${name} is not run")
            return()
        endif()
        add_test(NAME ${name} COMMAND "${XVFB_RUN}" -a -s "-screen 0 1280x1024x24" "$<TARGET_FILE:${name}>")
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TAGSMITH_CORPUS=${PROJECT_SOURCE_DIR}/../shared/corpus"
        TIMEOUT 300)
    tagsmith_label_tests(${name})
endfunction()

# tagsmith_add_tests(<names...> LIBRARIES <targets...>)
# One test program per name, each built from <name>.cpp against the same libraries.
function(tagsmith_add_tests)
    cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
    foreach(name IN LISTS ARG_UNPARSED_ARGUMENTS)
        tagsmith_add_test(${name} SOURCES ${name}.cpp LIBRARIES ${ARG_LIBRARIES})
    endforeach()
endfunction()
