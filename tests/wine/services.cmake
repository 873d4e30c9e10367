# The system services against Wine's real spooler, registry and kernel, and
# the whole installation on top of them. Each program is built twice: for
# the 64-bit prefix (the installer under WoW64) and for the 32-bit one (the
# x86 road, no WoW64).

# A DLL for the tests to plant, and a program that shows a planted spooler
# would be taken by a plain load.
add_library(planted_probe MODULE support/PlantedProbe.cpp)
target_link_options(planted_probe PRIVATE -static)
add_executable(plain_spooler_load support/PlainSpoolerLoad.cpp)
target_link_options(plain_spooler_load PRIVATE -static)

foreach(_variant IN ITEMS "" "_win32")
  if(_variant)
    set(_prefix_args WIN32)
    set(_is64 0)
  else()
    set(_prefix_args)
    set(_is64 1)
  endif()

  # Does not link winspool: the services load it themselves.
  set(_target services_test${_variant})
  add_executable(${_target} ServicesTest.cpp support/TestSupport.cpp)
  target_include_directories(${_target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
  target_link_libraries(${_target} PRIVATE win32services GTest::gtest_main)
  target_link_options(${_target} PRIVATE -static)
  add_dependencies(${_target} planted_probe plain_spooler_load)
  target_compile_definitions(${_target} PRIVATE
    TEST_PROGRAM_NAME="${_target}"
    TEST_PREFIX_IS_64BIT=${_is64}
    PLANTED_DLL="Z:$<TARGET_FILE:planted_probe>"
    PLAIN_SPOOLER_LOAD="Z:$<TARGET_FILE:plain_spooler_load>")
  # Message boxes and the monitors' dialogs take the focus. A spooler DLL
  # found in the program's folder is taken first, as on a real system.
  add_wine_gtest(${_target} ${_prefix_args} DESKTOP DLL_OVERRIDES "winspool.drv=n,b")

  # Reads back through winspool itself; the product does not link it.
  set(_target install_test${_variant})
  add_executable(${_target} InstallTest.cpp support/SpoolerReadBack.cpp support/TestSupport.cpp)
  target_include_directories(${_target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
  target_link_libraries(${_target} PRIVATE win32services engine winspool GTest::gtest_main)
  target_link_options(${_target} PRIVATE -static)
  # The spooler and the registry are the prefix's own: the cases take turns.
  add_wine_gtest(${_target} ${_prefix_args} DESKTOP)
endforeach()
