# IGRA_SANITIZE: build everything with AddressSanitizer and
# UndefinedBehaviorSanitizer.  The first finding ends the run: its report
# goes to standard error and the process exits with a failure, so every test
# that expects an empty standard error or a given status catches it.
#
# Include after project() and before any target is made:
#   include(cmake/Sanitize.cmake)

option(IGRA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(IGRA_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "IGRA_SANITIZE needs GCC or Clang")
  endif()
  add_compile_options(
    -fsanitize=address,undefined
    -fno-sanitize-recover=all
    -fno-omit-frame-pointer
    -fno-optimize-sibling-calls)
  add_link_options(-fsanitize=address,undefined)
  # The sanitizer runtimes cannot be linked into a static executable.
  set(IGRA_STATIC OFF)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC's flow analysis is less precise on sanitized code and then warns
    # of uninitialized members inside the standard library (std::regex).
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()
