# The Linux backend on SDL2 (ss_sdl: windows, input, timers, music, fonts) and the Linux
# runtime `slidesaver` built on it. Needs SDL2, SDL2_mixer, FreeType, fontconfig, Xlib and
# Xinerama (the monitors of a desktop that SDL sees as one display);
# without them the rest of the project still builds and the SDL tests report a skip.
if(WIN32)
  return()
endif()

find_package(PkgConfig QUIET)
set(slidesaver_sdl_found OFF)
if(PkgConfig_FOUND)
  pkg_check_modules(SS_SDL2 QUIET IMPORTED_TARGET sdl2)
  pkg_check_modules(SS_SDL2_MIXER QUIET IMPORTED_TARGET SDL2_mixer)
  pkg_check_modules(SS_FREETYPE QUIET IMPORTED_TARGET freetype2)
  pkg_check_modules(SS_FONTCONFIG QUIET IMPORTED_TARGET fontconfig)
  pkg_check_modules(SS_X11 QUIET IMPORTED_TARGET x11 xinerama)
  if(SS_SDL2_FOUND AND SS_SDL2_MIXER_FOUND AND SS_FREETYPE_FOUND AND SS_FONTCONFIG_FOUND
     AND SS_X11_FOUND)
    set(slidesaver_sdl_found ON)
  endif()
endif()

if(slidesaver_sdl_found)
  slidesaver_module(ss_sdl platform/sdl DEPS ${sdl_floors})
  target_link_libraries(ss_sdl PRIVATE PkgConfig::SS_SDL2 PkgConfig::SS_SDL2_MIXER
                                       PkgConfig::SS_FREETYPE PkgConfig::SS_FONTCONFIG
                                       PkgConfig::SS_X11)

  # The program: the X screen-saver daemon's arguments, then the saver's entry on the backend.
  add_library(ss_main_linux STATIC ${CMAKE_SOURCE_DIR}/src/main/linux/host_arguments.cpp)
  target_include_directories(ss_main_linux PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(ss_main_linux PUBLIC ss_app ss_sdl ss_base PRIVATE slidesaver_warnings)
  add_executable(slidesaver ${CMAKE_SOURCE_DIR}/src/main/linux/main.cpp)
  # Every saver carries a copy of the runtime: optimised builds leave the symbols out.
  target_link_options(slidesaver PRIVATE $<$<NOT:$<CONFIG:Debug>>:-s>)
  target_link_libraries(slidesaver PRIVATE ss_main_linux ${slidesaver_modules} ss_sdl
                                           slidesaver_warnings)
  slidesaver_record_floor(ss_main_linux main/linux ss_app ss_sdl)
else()
  message(STATUS "SDL2, SDL2_mixer, FreeType, fontconfig, Xlib or Xinerama missing: no Linux runtime")
  slidesaver_record_floor(ss_sdl platform/sdl ${sdl_floors})
  slidesaver_record_floor(ss_main_linux main/linux ss_app ss_sdl)
endif()

# The SDL test program and benchmark are made by the folders' own globs, after this file has
# been read; they get the backend (or a stand-in that reports the skip) at the end.
function(slidesaver_sdl_finish_targets)
  set(stub_dir ${CMAKE_BINARY_DIR}/sdl_stub)
  if(TARGET test_platform_sdl)
    if(TARGET ss_sdl)
      target_link_libraries(test_platform_sdl PRIVATE ss_main_linux ss_sdl PkgConfig::SS_X11)
      add_dependencies(test_platform_sdl slidesaver)
    else()
      file(WRITE ${stub_dir}/test_sdl_stub.cpp
           "#include <gtest/gtest.h>\nTEST(Sdl, Backend) { GTEST_SKIP() << \"no SDL2 backend in this build\"; }\n")
      set_property(TARGET test_platform_sdl PROPERTY SOURCES ${stub_dir}/test_sdl_stub.cpp)
    endif()
  endif()
  if(TARGET bench_sdl_present)
    if(TARGET ss_sdl)
      target_link_libraries(bench_sdl_present PRIVATE ss_sdl ss_show slidemake_lib)
    else()
      file(WRITE ${stub_dir}/bench_sdl_stub.cpp
           "#include <cstdio>\nint main() { std::puts(\"bench_sdl_present: skipped, no SDL2 backend\"); }\n")
      set_property(TARGET bench_sdl_present PROPERTY SOURCES ${stub_dir}/bench_sdl_stub.cpp)
    endif()
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL slidesaver_sdl_finish_targets)
