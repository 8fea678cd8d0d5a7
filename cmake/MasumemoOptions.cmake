# Compiler settings every target of ours links: warnings and, on request, sanitizers.
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
