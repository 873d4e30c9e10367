# cmake -DDIR=folder -P check-vendor-files.cmake: checks a folder of vendor
# driver files the way the build does.
include(${CMAKE_CURRENT_LIST_DIR}/DriverFiles.cmake)
find_vendor_driver_files("${DIR}" _files)
list(LENGTH _files _count)
message(STATUS "all ${_count} driver files found in ${DIR}")
