# Compile settings shared by every target of the project.
add_library(varnok_common_cfg INTERFACE)
target_compile_features(varnok_common_cfg INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

if(MSVC)
    target_compile_options(varnok_common_cfg INTERFACE /W4 /utf-8)
else()
    target_compile_options(varnok_common_cfg INTERFACE -Wall -Wextra)
endif()

target_compile_definitions(varnok_common_cfg INTERFACE QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(VARNOK_SANITIZE)
    target_compile_options(varnok_common_cfg INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(varnok_common_cfg INTERFACE -fsanitize=address,undefined)
endif()

# The flags Debian builds its packages with: checked buffer functions, stack protection, and
# relocations made read-only after loading. For the package build, not for the tests' sanitizers.
if(VARNOK_HARDEN AND NOT MSVC)
    if(VARNOK_SANITIZE)
        message(FATAL_ERROR "VARNOK_HARDEN and VARNOK_SANITIZE are not meant to be used together")
    endif()
    target_compile_options(varnok_common_cfg INTERFACE
        -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong)
    target_link_options(varnok_common_cfg INTERFACE LINKER:-z,relro LINKER:-z,now)
endif()
