# The shipped program's image: loader protections and imports, read from
# its PE header (runs natively, no Wine needed).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME program_image_protections
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/tools/check_pe.py $<TARGET_FILE:${PROGRAM_NAME}>)

# The distribution package and the check of a vendor's driver folder.
add_test(NAME package_contents
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/tools/check_package.py
          ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/dist)
add_test(NAME vendor_driver_folder_check
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/tools/check_vendor_files.py
          ${CMAKE_COMMAND} ${CMAKE_SOURCE_DIR}/packaging/check-vendor-files.cmake ${CMAKE_BINARY_DIR}/dist)
