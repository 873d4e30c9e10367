# The whole program: the real OrvaSetup.exe, started by a test and driven
# through its windows from the test's process, against the prefix's own
# spooler and registry. The x86 road runs in the 32-bit X prefix (and takes
# the screenshots), the x64 road in the 64-bit one.

# Set on the program's thread by the tests; the system loads it into the
# program, where it records what cannot be watched from outside.
add_library(program_hook MODULE support/RemoteHook.cpp)
set_target_properties(program_hook PROPERTIES PREFIX "")
target_include_directories(program_hook PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
# Exported under their plain names, for GetProcAddress.
target_link_options(program_hook PRIVATE -static -Wl,--kill-at)

set(_program_support
  support/RemoteProgram.cpp
  support/RemoteWizard.cpp
  support/UiScreenshot.cpp
  support/RemoteInstallation.cpp
  support/SpoolerReadBack.cpp
  support/TestSupport.cpp)

foreach(_road IN ITEMS x86 x64)
  if(_road STREQUAL x86)
    set(_target program_test)
    set(_source ProgramTest.cpp)
    set(_prefix_args WIN32)
  else()
    set(_target program_x64_test)
    set(_source ProgramX64Test.cpp)
    set(_prefix_args)
  endif()
  add_executable(${_target} ${_source} ${_program_support})
  target_include_directories(${_target} PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/support ${CMAKE_SOURCE_DIR}/res)
  target_link_libraries(${_target} PRIVATE GTest::gtest_main winspool comctl32 gdi32)
  target_link_options(${_target} PRIVATE -static)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${_target} PRIVATE -Wall -Wextra)
  endif()
  target_compile_definitions(${_target} PRIVATE
    PROGRAM_DIST_DIR="Z:${CMAKE_BINARY_DIR}/dist"
    HOOK_DLL="Z:$<TARGET_FILE:program_hook>")
  add_dependencies(${_target} ${PROGRAM_NAME} program_hook)
  # The program's windows take the focus, and the cases share the spooler.
  add_wine_gtest(${_target} ${_prefix_args} DESKTOP)
endforeach()
