# The fuzz targets in fuzz/: one per parser, each a file fuzz/fuzz_<name>.cpp that defines
# LLVMFuzzerTestOneInput.
#
# - Always (with the tests): replay_<name> (<name> without the fuzz_ prefix), the target with a
#   small driver that feeds it every committed input of fuzz/corpus/<name>/ and
#   fuzz/regressions/<name>/, registered with ctest as fuzz_replay.<name>. Any compiler builds
#   these, so the normal and the sanitizer test runs both replay the corpus.
# - With SLIDESAVER_FUZZ=ON and clang: fuzz_<name>, the libFuzzer binary. scripts/fuzz.sh makes
#   such a build (with the sanitizers) and runs each target.
option(SLIDESAVER_FUZZ "Build the libFuzzer targets (clang only)" OFF)

if(WIN32)
  return()
endif()

# The parsers live in these; nothing else needs to be built or instrumented for the targets.
set(fuzz_modules ss_show ss_config ss_package ss_platform ss_gfx ss_base ${slidesaver_os_backend} ss_core)
file(GLOB fuzz_target_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)

if(SLIDESAVER_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SLIDESAVER_FUZZ needs clang (libFuzzer); configure with CXX=clang++")
  endif()
  # Coverage feedback from every module the targets run through.
  foreach(module ${fuzz_modules})
    # A floor of interfaces only has no code of its own to instrument.
    get_target_property(module_type ${module} TYPE)
    if(NOT module_type STREQUAL "INTERFACE_LIBRARY")
      target_compile_options(${module} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
  endforeach()
  foreach(source ${fuzz_target_sources})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${fuzz_modules} slidesaver_warnings)
  endforeach()
endif()

if(SLIDESAVER_TESTS)
  foreach(source ${fuzz_target_sources})
    get_filename_component(name ${source} NAME_WE)
    string(REGEX REPLACE "^fuzz_" "" short ${name})
    add_executable(replay_${short} ${source} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(replay_${short} PRIVATE ${fuzz_modules} slidesaver_warnings)
    add_test(NAME fuzz_replay.${short}
             COMMAND replay_${short} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${short}
                     ${CMAKE_SOURCE_DIR}/fuzz/regressions/${short})
  endforeach()
endif()

if(SLIDESAVER_TESTS OR SLIDESAVER_FUZZ)
  # The seed inputs, written by the project's own writers and the test pictures' builders.
  add_executable(make_fuzz_seeds ${CMAKE_SOURCE_DIR}/fuzz/seeds/make_fuzz_seeds.cpp
                                 ${CMAKE_SOURCE_DIR}/tests/support/test_images.cpp)
  target_include_directories(make_fuzz_seeds PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(make_fuzz_seeds PRIVATE ss_tools_common ${fuzz_modules} slidesaver_warnings)
  if(SLIDESAVER_HAVE_PNG)
    target_link_libraries(make_fuzz_seeds PRIVATE PNG::PNG)
  endif()
endif()

# The hostile-package corpus generator (scripts/make-hostile-corpus.sh runs it).
if(NOT WIN32)
  file(GLOB hostilecorpus_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/hostilecorpus/*.cpp)
  add_executable(hostilecorpus ${hostilecorpus_sources})
  target_link_libraries(hostilecorpus PRIVATE ss_tools_common ${fuzz_modules} slidesaver_warnings)
endif()

# The soak run (make soak): a long headless show with its resident set sampled.
if(NOT WIN32 AND TARGET ss_headless)
  add_executable(soak ${CMAKE_SOURCE_DIR}/tools/soak/soak_main.cpp)
  target_link_libraries(soak PRIVATE ss_tools_common ${slidesaver_modules} ss_headless slidesaver_warnings)
endif()
