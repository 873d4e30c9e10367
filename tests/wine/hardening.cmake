# The program started beside planted DLLs.
add_executable(hardening_test HardeningTest.cpp support/RemoteProgram.cpp support/TestSupport.cpp)
target_include_directories(hardening_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(hardening_test PRIVATE GTest::gtest_main)
target_link_options(hardening_test PRIVATE -static)
add_dependencies(hardening_test ${PROGRAM_NAME} planted_probe plain_spooler_load)
target_compile_definitions(hardening_test PRIVATE
  PLANTED_DLL="Z:$<TARGET_FILE:planted_probe>"
  PLAIN_LOAD="Z:$<TARGET_FILE:plain_spooler_load>"
  PROGRAM_FILE="Z:$<TARGET_FILE:${PROGRAM_NAME}>")
# As a real system does, take a DLL found in the program's folder first.
add_wine_gtest(hardening_test DESKTOP DLL_OVERRIDES "winspool.drv,comctl32=n,b")
