# The compiled dialog templates and other resources, read back from the
# test's own executable, which links the same resource object as the program.
add_executable(resource_test ${CMAKE_CURRENT_LIST_DIR}/ResourceTest.cpp)
target_link_libraries(resource_test PRIVATE
  resources GTest::gtest_main comctl32 version gdi32)
target_link_options(resource_test PRIVATE -static)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(resource_test PRIVATE -Wall -Wextra)
endif()
# The dialogs it creates take the focus (the settings page is visible from
# the start), so it takes turns with other window tests.
add_wine_gtest(resource_test DESKTOP)
