# Warnings are always on; CI and the test script turn them into errors.
option(LUSHENG_WERROR "Treat compiler warnings as errors" OFF)

function(lusheng_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                           -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
                           -Woverloaded-virtual -Wconversion -Wsign-conversion
                           -Wnull-dereference -Wimplicit-fallthrough)
    if(LUSHENG_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
