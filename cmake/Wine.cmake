# Running the Windows build's tests under Wine, each in a prefix of the
# build tree (never the user's own):
#   wineprefix-win64  64-bit prefix, no X (the null display driver)
#   wineprefix-win32  32-bit prefix on a virtual X display (Xvfb), for the
#                     x86 road and the screenshots
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
set(WINE_FIXTURE ${CMAKE_SOURCE_DIR}/scripts/wine-fixture)
set(WINE_PREFIX_WIN64 ${CMAKE_BINARY_DIR}/wineprefix-win64)
set(WINE_PREFIX_WIN32 ${CMAKE_BINARY_DIR}/wineprefix-win32)
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_RUN} ${WINE_PREFIX_WIN64} null)

# Screenshots and other artifacts the tests keep.
set(TEST_ARTIFACTS_DIR ${CMAKE_BINARY_DIR}/artifacts)
file(MAKE_DIRECTORY ${TEST_ARTIFACTS_DIR})

foreach(kind win64 win32)
  if(kind STREQUAL win64)
    set(_prefix ${WINE_PREFIX_WIN64})
    set(_mode null)
  else()
    set(_prefix ${WINE_PREFIX_WIN32})
    set(_mode x11)
  endif()
  add_test(NAME wine_up_${kind} COMMAND ${WINE_FIXTURE} up ${_prefix} ${_mode})
  add_test(NAME wine_down_${kind} COMMAND ${WINE_FIXTURE} down ${_prefix} ${_mode})
  set_tests_properties(wine_up_${kind} PROPERTIES FIXTURES_SETUP wine_${kind} TIMEOUT 300)
  set_tests_properties(wine_down_${kind} PROPERTIES FIXTURES_CLEANUP wine_${kind})
endforeach()

# add_wine_gtest(target [WIN32] [DESKTOP] [DLL_OVERRIDES value])
#   Registers a GoogleTest executable's cases with CTest, run under Wine.
#   WIN32: in the 32-bit X prefix instead of the 64-bit one.
#   DESKTOP: the cases show windows, so they take turns (focus).
#   DLL_OVERRIDES: Wine's DLL load order for the cases and the programs they
#   start (WINEDLLOVERRIDES; Wine reads it from the Unix environment only).
function(add_wine_gtest target)
  cmake_parse_arguments(ARG "WIN32;DESKTOP" "DLL_OVERRIDES" "" ${ARGN})
  if(ARG_WIN32)
    set(_kind win32)
    set(_emu ${WINE_RUN} ${WINE_PREFIX_WIN32} x11)
  else()
    set(_kind win64)
    set(_emu ${WINE_RUN} ${WINE_PREFIX_WIN64} null)
  endif()
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${_emu}")
  # Paths as the Windows side sees them (Wine maps / to drive Z:).
  target_compile_definitions(${target} PRIVATE
    TEST_ARTIFACTS_DIR="Z:${TEST_ARTIFACTS_DIR}"
    TEST_BINARY_DIR="Z:${CMAKE_BINARY_DIR}")
  set(_props FIXTURES_REQUIRED wine_${_kind} TIMEOUT 120)
  if(ARG_DESKTOP)
    list(APPEND _props RESOURCE_LOCK wine_desktop_${_kind})
  endif()
  if(ARG_DLL_OVERRIDES)
    list(APPEND _props ENVIRONMENT "WINEDLLOVERRIDES=${ARG_DLL_OVERRIDES}")
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    NO_PRETTY_VALUES
    TEST_PREFIX "${target}."
    PROPERTIES ${_props})
endfunction()
