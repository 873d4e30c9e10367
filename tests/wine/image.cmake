# The shipped program's image: loader protections and imports, read from
# its PE header (runs natively, no Wine needed).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME program_image_protections
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/tools/check_pe.py $<TARGET_FILE:${PROGRAM_NAME}>)
