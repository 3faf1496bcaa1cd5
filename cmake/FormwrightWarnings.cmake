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
