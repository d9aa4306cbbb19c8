# One interface target carries the language level, the warnings and the Qt safety
# defines, so every target of the project is compiled the same way.
add_library(tagsmith_options INTERFACE)
add_library(Tagsmith::options ALIAS tagsmith_options)

target_compile_features(tagsmith_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(tagsmith_options INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor>)

target_compile_definitions(tagsmith_options INTERFACE
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_USE_QSTRINGBUILDER
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)

# Line and branch counts for scripts/coverage. The audit reads pages on several threads,
# and counters updated without atomics came out negative; no optimisation, so that a
# counted line is a line of the source.
option(TAGSMITH_COVERAGE "Compile and link with gcc's coverage counters" OFF)
if(TAGSMITH_COVERAGE)
    target_compile_options(tagsmith_options INTERFACE --coverage -fprofile-update=atomic -O0)
    target_link_options(tagsmith_options INTERFACE --coverage)
endif()
