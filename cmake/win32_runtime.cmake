# The Windows saver runtime slidesaver.scr: a GUI program, linked statically so that a saver is
# one file, with its icon, version information and manifest compiled in by windres.
if(WIN32)
  enable_language(RC)
  set(win32_runtime_dir ${CMAKE_SOURCE_DIR}/src/main/win32)

  # The resources build apart: the compiler's warning options mean nothing to windres.
  add_library(slidesaver_resources OBJECT ${win32_runtime_dir}/slidesaver.rc)
  set_source_files_properties(${win32_runtime_dir}/slidesaver.rc PROPERTIES
    OBJECT_DEPENDS "${win32_runtime_dir}/slidesaver.ico;${win32_runtime_dir}/slidesaver.manifest")

  add_executable(slidesaver WIN32 ${win32_runtime_dir}/win_main.cpp $<TARGET_OBJECTS:slidesaver_resources>)
  set_target_properties(slidesaver PROPERTIES OUTPUT_NAME slidesaver SUFFIX .scr)
  # Every saver carries a copy of the runtime: release builds leave the symbols out.
  target_link_options(slidesaver PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
  target_link_libraries(slidesaver PRIVATE ${slidesaver_modules} ss_win32 slidesaver_warnings)
  slidesaver_record_floor(slidesaver main/win32 ss_app ss_win32)
endif()
