# The Windows saver runtime slidesaver.scr: a GUI program, linked statically so that a saver is
# one file, with its icon, version information and manifest compiled in by windres.
if(WIN32)
  enable_language(RC)
  set(win32_runtime_dir ${CMAKE_SOURCE_DIR}/src/platform/win32/runtime)

  # What the backend calls on the system; the platform library carries it to every program.
  target_link_libraries(ss_platform PUBLIC gdi32 winmm ole32 oleaut32 uuid comctl32 shell32 advapi32)
  # The setup dialog's window is drawn from the layout data of the configuration library, which
  # itself builds on the platform interfaces: the two static libraries depend on each other.
  target_link_libraries(ss_platform PUBLIC ss_config)

  # The resources build apart: the compiler's warning options mean nothing to windres.
  add_library(slidesaver_resources OBJECT ${win32_runtime_dir}/slidesaver.rc)
  set_source_files_properties(${win32_runtime_dir}/slidesaver.rc PROPERTIES
    OBJECT_DEPENDS "${win32_runtime_dir}/slidesaver.ico;${win32_runtime_dir}/slidesaver.manifest")

  add_executable(slidesaver WIN32 ${win32_runtime_dir}/win_main.cpp $<TARGET_OBJECTS:slidesaver_resources>)
  set_target_properties(slidesaver PROPERTIES OUTPUT_NAME slidesaver SUFFIX .scr)
  # Every saver carries a copy of the runtime: release builds leave the symbols out.
  target_link_options(slidesaver PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
  target_link_libraries(slidesaver PRIVATE ss_app ss_show ss_transition ss_package ss_config
                                           ss_platform ss_base slidesaver_warnings)
endif()
