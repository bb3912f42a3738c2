# LUSHENG_SANITIZE: empty, "address,undefined" or "thread".
set(LUSHENG_SANITIZE "" CACHE STRING "Sanitizers to build with")
if(LUSHENG_SANITIZE)
    add_compile_options(-fsanitize=${LUSHENG_SANITIZE} -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=${LUSHENG_SANITIZE})
    if(LUSHENG_SANITIZE MATCHES "undefined")
        add_compile_options(-fno-sanitize-recover=undefined)
    endif()
endif()
