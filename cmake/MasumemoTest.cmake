# One way to register a test.
#   masumemo_add_test(NAME SOURCES a.cpp ... LIBS lib ... [QT] [CORPUS arg ... | CORPUS_ONLY])
# Without QT the test is GoogleTest (with gtest_main); with QT it is a QtTest
# executable that runs on the offscreen platform. CORPUS names the tests that read the corpus
# (a --gtest_filter, or QtTest function names): they run as a test entry of their own,
# NAME_corpus, which CTest reports as skipped when the corpus is missing, and the main entry
# leaves them out. CORPUS_ONLY is for a test that reads nothing but the corpus: its one entry is
# reported as skipped when the corpus is missing.
find_package(GTest REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Test)

set(MASUMEMO_CORPUS_DIR "${PROJECT_SOURCE_DIR}/../shared/corpus" CACHE PATH
    "Third-party text art and emoticon lists that tests read where they stand")

function(masumemo_add_test name)
    cmake_parse_arguments(T "QT;CORPUS_ONLY" "" "SOURCES;LIBS;LABELS;CORPUS" ${ARGN})
    set(corpus_missing "the text-art corpus beside the project is missing")
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
    set(main_env "${env}")
    if(T_CORPUS)
        list(APPEND main_env "MASUMEMO_CORPUS_TESTS=elsewhere")
        add_test(NAME ${name}_corpus COMMAND ${name} ${T_CORPUS})
        set_tests_properties(${name}_corpus PROPERTIES
            ENVIRONMENT "${env}" TIMEOUT 300 LABELS "unit;corpus;${T_LABELS}"
            SKIP_REGULAR_EXPRESSION "${corpus_missing}")
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${main_env}" TIMEOUT 300 LABELS "unit;${T_LABELS}")
    if(T_CORPUS_ONLY)
        set_tests_properties(${name} PROPERTIES
            LABELS "unit;corpus;${T_LABELS}" SKIP_REGULAR_EXPRESSION "${corpus_missing}")
    endif()
endfunction()
