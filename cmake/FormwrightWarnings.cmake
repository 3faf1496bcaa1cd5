# Compiler settings shared by every target of the project.
add_library(formwright_options INTERFACE)
target_compile_options(formwright_options INTERFACE -Wall -Wextra -Wpedantic)
if(FORMWRIGHT_WERROR)
  target_compile_options(formwright_options INTERFACE -Werror)
endif()
if(FORMWRIGHT_SANITIZE)
  target_compile_options(formwright_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(formwright_options INTERFACE -fsanitize=address,undefined)
endif()
# Coverage instrumentation for libFuzzer plus the sanitizers that turn silent
# faults into crashes it can keep; the fuzz targets link the fuzzer itself.
if(FORMWRIGHT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "FORMWRIGHT_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  target_compile_options(formwright_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(formwright_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
endif()
