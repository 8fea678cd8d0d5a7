# One way to register a test.
#   masumemo_add_test(NAME SOURCES a.cpp ... LIBS lib ... [QT])
# Without QT the test is GoogleTest (with gtest_main); with QT it is a QtTest
# executable that runs on the offscreen platform.
find_package(GTest REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Test)

set(MASUMEMO_CORPUS_DIR "${PROJECT_SOURCE_DIR}/../shared/corpus" CACHE PATH
    "Third-party text art and emoticon lists that tests read where they stand")

function(masumemo_add_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} masumemo::options)
    target_compile_definitions(${name} PRIVATE
        MASUMEMO_CORPUS_DIR="${MASUMEMO_CORPUS_DIR}"
        MASUMEMO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    if(T_QT)
        target_link_libraries(${name} PRIVATE masumemo_qt_test_support Qt6::Test Qt6::Widgets)
        set(env "QT_QPA_PLATFORM=offscreen")
    else()
        target_link_libraries(${name} PRIVATE masumemo_test_support GTest::gtest_main)
        set(env "")
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${env}" TIMEOUT 300 LABELS "unit;${T_LABELS}")
endfunction()
