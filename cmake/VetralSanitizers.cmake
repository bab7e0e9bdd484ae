# The sanitizer and fuzzing builds (clang only). They go into build dirs of
# their own (scripts/test: build-asan/), never into the regular build/.
#
# VETRAL_SANITIZE: AddressSanitizer and UndefinedBehaviorSanitizer on every
#   target; any report ends the program with a failure, so a test that
#   triggers one fails.
# VETRAL_FUZZ: also the libFuzzer targets of fuzz/. The code is instrumented
#   for coverage as well (fuzzer-no-link), which the test programs tolerate,
#   so one build serves both the sanitized tests and the fuzzers.
option(VETRAL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer (clang)" OFF)
option(VETRAL_FUZZ "Build the libFuzzer targets in fuzz/ (clang; implies VETRAL_SANITIZE)" OFF)

if(VETRAL_FUZZ)
  set(VETRAL_SANITIZE ON)
endif()

if(VETRAL_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VETRAL_SANITIZE and VETRAL_FUZZ need clang: configure with CXX=clang++")
  endif()
  # _GLIBCXX_ASSERTIONS bounds-checks std::array and std::vector, which
  # AddressSanitizer cannot see past when the overrun stays inside one object
  # (the records of the radio image lie side by side).
  set(vetral_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
      -D_GLIBCXX_ASSERTIONS)
  add_compile_options(${vetral_sanitizers})
  add_link_options(-fsanitize=address,undefined)
  if(VETRAL_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()
