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
