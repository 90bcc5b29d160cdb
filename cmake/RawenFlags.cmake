# Every target of the project links rawen_flags, so warnings and sanitizers are set in one place.
add_library(rawen_flags INTERFACE)

if(MSVC)
    target_compile_options(rawen_flags INTERFACE /W4 /utf-8 $<$<BOOL:${RAWEN_WERROR}>:/WX>)
else()
    target_compile_options(rawen_flags INTERFACE -Wall -Wextra $<$<BOOL:${RAWEN_WERROR}>:-Werror>)
endif()

if(RAWEN_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "RAWEN_SANITIZE is meant for GCC and Clang builds")
    endif()
    set(_rawen_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined)
    target_compile_options(rawen_flags INTERFACE ${_rawen_sanitizers} -fno-omit-frame-pointer)
    target_link_options(rawen_flags INTERFACE ${_rawen_sanitizers})
endif()
