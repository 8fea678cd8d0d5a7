# Compiler settings every target of ours links: warnings, on request sanitizers, and the
# standard library's checks in debug builds.
add_library(masumemo_options INTERFACE)
add_library(masumemo::options ALIAS masumemo_options)
target_compile_options(masumemo_options INTERFACE -Wall -Wextra -Wno-missing-field-initializers)
if(MASUMEMO_WERROR)
    target_compile_options(masumemo_options INTERFACE -Werror)
endif()
if(MASUMEMO_SANITIZE)
    target_compile_options(masumemo_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(masumemo_options INTERFACE -fsanitize=address,undefined)
endif()
# A debug build checks our asserts and Qt's, and the standard library's bounds and preconditions
# too (an index past a string's end aborts there instead of reading on).
target_compile_definitions(masumemo_options INTERFACE $<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)
