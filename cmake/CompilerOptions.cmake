# Every target of the project gets these through ritmova_options.
# Results must be reproducible to the last bit: no fused multiply-add, no fast-math.
add_library(ritmova_options INTERFACE)
target_compile_options(ritmova_options INTERFACE
  -ffp-contract=off -fno-fast-math
  -Wall -Wextra -Wpedantic -Wconversion -Wshadow)
if(RITMOVA_WARNINGS_AS_ERRORS)
  target_compile_options(ritmova_options INTERFACE -Werror)
endif()
if(RITMOVA_SANITIZE)
  target_compile_options(ritmova_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(ritmova_options INTERFACE -fsanitize=address,undefined)
endif()
