# Every target of ours builds warning-free; third-party code is compiled with its own flags.
add_library(tovrik_warnings INTERFACE)
target_compile_options(tovrik_warnings INTERFACE -Wall -Wextra -Werror)

if(TOVRIK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(TOVRIK_BACKEND STREQUAL "win32")
    # One self-contained executable: no MinGW runtime DLLs to ship next to it.
    add_link_options(-static -static-libgcc -static-libstdc++)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()
