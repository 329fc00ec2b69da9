# Sanitizer and fuzzing builds.
#
# KOVA_SANITIZE is the list given to -fsanitize, for example
# "address,undefined" (AddressSanitizer with LeakSanitizer, and
# UndefinedBehaviorSanitizer) or "thread". Every finding ends the process
# with a failure (-fno-sanitize-recover=all), so a test that triggers one
# fails. KOVA_FUZZ adds the libFuzzer targets of tests/fuzz and the
# coverage instrumentation they need; it takes clang.
#
# KOVA_SHARED_LINK_CHECK holds the link option that makes a shared library
# name every symbol it needs. Clang links sanitizer runtimes into
# executables only, so under clang's sanitizers a shared library leaves the
# runtime's symbols to the executable and the check is dropped.

set(KOVA_SANITIZE "" CACHE STRING "Sanitizers to build with (-fsanitize list), e.g. address,undefined or thread")
option(KOVA_FUZZ "Build the libFuzzer targets (clang)" OFF)

set(KOVA_SHARED_LINK_CHECK -Wl,--no-undefined)

if(KOVA_SANITIZE)
  add_compile_options(-fsanitize=${KOVA_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${KOVA_SANITIZE})
endif()

if(KOVA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KOVA_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if((KOVA_SANITIZE OR KOVA_FUZZ) AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(KOVA_SHARED_LINK_CHECK "")
endif()
