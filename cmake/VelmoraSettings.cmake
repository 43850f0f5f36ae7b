# Compiler settings shared by every target, and the installed dependencies.

# velmora_options: warnings as errors, UTF-8 sources, Unicode Win32 entry points.
add_library(velmora_options INTERFACE)
target_compile_options(velmora_options INTERFACE
  -Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=UTF-8)
target_include_directories(velmora_options INTERFACE ${CMAKE_SOURCE_DIR})

if(VELMORA_WINDOWS)
  target_compile_definitions(velmora_options INTERFACE
    UNICODE _UNICODE NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
  # One self-contained executable: no runtime DLLs beside it.
  target_link_options(velmora_options INTERFACE -static -static-libgcc -static-libstdc++)

  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(VELMORA_ARCH x86_64)
  else()
    set(VELMORA_ARCH i686)
  endif()

  # zlib: Debian's MinGW package.
  find_library(VELMORA_ZLIB NAMES libz.a z REQUIRED)
  find_path(VELMORA_ZLIB_INCLUDE zlib.h REQUIRED)
  add_library(velmora_zlib INTERFACE)
  target_link_libraries(velmora_zlib INTERFACE ${VELMORA_ZLIB})
  target_include_directories(velmora_zlib INTERFACE ${VELMORA_ZLIB_INCLUDE})

  # libjpeg: cross-built by scripts/setup into .deps, keyed by the Debian version.
  file(READ ${CMAKE_SOURCE_DIR}/.deps/libjpeg.prefix VELMORA_JPEG_PREFIX_BASE)
  string(STRIP "${VELMORA_JPEG_PREFIX_BASE}" VELMORA_JPEG_PREFIX_BASE)
  # The real path: worktrees share one .deps through links, and whichever of them wrote the file, the
  # compile lines stay the same (another path would make every build start over).
  get_filename_component(VELMORA_JPEG_PREFIX "${VELMORA_JPEG_PREFIX_BASE}-${VELMORA_ARCH}" REALPATH)
  if(NOT EXISTS ${VELMORA_JPEG_PREFIX}/lib/libjpeg.a)
    message(FATAL_ERROR "libjpeg for ${VELMORA_ARCH} is missing: run scripts/setup")
  endif()
  add_library(velmora_jpeg INTERFACE)
  target_link_libraries(velmora_jpeg INTERFACE ${VELMORA_JPEG_PREFIX}/lib/libjpeg.a)
  target_include_directories(velmora_jpeg INTERFACE ${VELMORA_JPEG_PREFIX}/include)

  if(VELMORA_ARCH STREQUAL "x86_64")
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
    set(VELMORA_RUN_TESTS ON)
  else()
    set(VELMORA_RUN_TESTS OFF)
  endif()
else()
  find_package(ZLIB REQUIRED)
  add_library(velmora_zlib INTERFACE)
  target_link_libraries(velmora_zlib INTERFACE ZLIB::ZLIB)
  set(VELMORA_RUN_TESTS ON)
endif()

# GoogleTest from Debian's sources, built with our compiler.
if(NOT TARGET gtest)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# A test executable: one CTest entry per executable, run under Wine in the 64-bit build. CASES
# label=filter ... makes one entry per GoogleTest filter instead (name.label), so that long runs of one
# program can go side by side.
function(velmora_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;CASES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest velmora_options)
  if(VELMORA_WINDOWS)
    # Tests show windows but report on the console.
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  # Windows programs run through scripts/wine-test, which gives a program marked with velmora_own_screen
  # a screen of its own.
  if(VELMORA_WINDOWS)
    set(run ${CMAKE_SOURCE_DIR}/scripts/wine-test $<TARGET_FILE:${name}>)
  else()
    set(run ${name})
  endif()
  if(VELMORA_RUN_TESTS AND ARG_CASES)
    foreach(case ${ARG_CASES})
      string(REPLACE "=" ";" parts "${case}")
      list(GET parts 0 label)
      list(GET parts 1 filter)
      add_test(NAME ${name}.${label} COMMAND ${run} --gtest_filter=${filter})
      set_tests_properties(${name}.${label} PROPERTIES TIMEOUT 600)
    endforeach()
  elseif(VELMORA_RUN_TESTS)
    add_test(NAME ${name} COMMAND ${run})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# velmora_own_screen(TEST...): these CTest entries need activation, the keyboard focus or the pointer
# to themselves. scripts/wine-test runs each on an X server and in a Wine prefix of its own, so they
# still go side by side with the others.
function(velmora_own_screen)
  if(VELMORA_RUN_TESTS)
    set_tests_properties(${ARGN} PROPERTIES ENVIRONMENT VELMORA_OWN_SCREEN=1)
  endif()
endfunction()
