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

# ccache, when installed, makes rebuilds of unchanged sources (other clones, other presets) quick.
find_program(RITMOVA_CCACHE ccache)
if(RITMOVA_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  # Paths relative to the sources, so that two clones of the project share the cache.
  set(CMAKE_CXX_COMPILER_LAUNCHER
      "${CMAKE_COMMAND};-E;env;CCACHE_BASEDIR=${PROJECT_SOURCE_DIR};${RITMOVA_CCACHE}")
endif()
