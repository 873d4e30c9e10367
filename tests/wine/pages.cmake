# The wizard's pages as real modal dialogs in the test's own process: the
# templates are linked into each test program, the system services are the
# recording fake (or the real ones where a test says so), and scripts run
# by thread timers click and type as a user would.

set(_page_support
  ${CMAKE_CURRENT_LIST_DIR}/support/UiScript.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/UiPages.cpp)

function(_page_test_program target)
  add_executable(${target} ${ARGN} ${_page_support} $<TARGET_OBJECTS:resources>)
  target_include_directories(${target} PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/support
    ${CMAKE_SOURCE_DIR}/tests/native)
  target_link_libraries(${target} PRIVATE installer_app GTest::gtest_main comctl32 gdi32)
  target_link_options(${target} PRIVATE -static)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endif()
endfunction()

# Every page with the fake, and the page loop of the application object.
_page_test_program(page_test
  ${CMAKE_CURRENT_LIST_DIR}/PageOsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageSettingsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageSelectPortTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageCreatePortTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageFlowTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageScriptTest.cpp)
add_wine_gtest(page_test DESKTOP)

# The first page with the real services, under versions that Wine is set
# to report. A program of its own: the setting is made per program name.
_page_test_program(page_os_version_test
  ${CMAKE_CURRENT_LIST_DIR}/PageOsVersionTest.cpp)
add_wine_gtest(page_os_version_test DESKTOP)

# Pictures of the pages, with the real services, on the 32-bit prefix's X
# display; the PNG files go to the artifacts folder.
_page_test_program(page_screenshot_test
  ${CMAKE_CURRENT_LIST_DIR}/PageScreenshotTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/support/UiScreenshot.cpp)
add_wine_gtest(page_screenshot_test WIN32 DESKTOP)
