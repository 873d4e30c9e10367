# The driver files a package carries in its "x86" and "x64" folders: the
# common files of the universal printer driver, the shared resource DLL and
# every model's GPD file. The printer's vendor supplies the real ones; the
# build makes clearly labelled stand-ins for tests and demonstrations.
set(DRIVER_COMMON_FILES uniDRVui.DLL uniDRV.DLL UNIDRV.HLP UNIRES.DLL TTFSUB.GPD STDNAMES.GPD)
set(DRIVER_MODEL_FILES
  QX20N.DLL
  QX201.GPD QX202.GPD QX203.GPD QX204.GPD QX205.GPD QX205X.GPD
  QX206.GPD QX207.GPD QX207M.GPD QXH207.GPD QX20N.GPD)
set(DRIVER_ARCHS x86 x64)

# Writes the stand-in files into DIR/x86 and DIR/x64.
function(add_standin_driver_files dir)
  foreach(arch IN LISTS DRIVER_ARCHS)
    foreach(name IN LISTS DRIVER_COMMON_FILES DRIVER_MODEL_FILES)
      set(_file ${dir}/${arch}/${name})
      set(_text "STAND-IN driver file for tests and demonstrations, not a real driver: ${arch}/${name}\n")
      if(EXISTS ${_file})
        file(READ ${_file} _old)
      else()
        set(_old "")
      endif()
      if(NOT _old STREQUAL _text)
        file(WRITE ${_file} "${_text}")
      endif()
    endforeach()
  endforeach()
endfunction()

# Finds every driver file in DIR/x86 and DIR/x64 (names compared without
# regard to case, as Windows does) and sets OUT to their paths; stops with
# an error that names every file that is missing.
function(find_vendor_driver_files dir out)
  set(_found "")
  set(_missing "")
  foreach(arch IN LISTS DRIVER_ARCHS)
    file(GLOB _present RELATIVE ${dir}/${arch} ${dir}/${arch}/*)
    set(_present_lower "")
    foreach(p IN LISTS _present)
      string(TOLOWER "${p}" _l)
      list(APPEND _present_lower "${_l}")
    endforeach()
    foreach(name IN LISTS DRIVER_COMMON_FILES DRIVER_MODEL_FILES)
      string(TOLOWER "${name}" _l)
      list(FIND _present_lower "${_l}" _i)
      if(_i LESS 0)
        list(APPEND _missing "${arch}/${name}")
      else()
        list(GET _present ${_i} _actual)
        list(APPEND _found "${dir}/${arch}/${_actual}")
      endif()
    endforeach()
  endforeach()
  if(_missing)
    list(LENGTH _missing _count)
    list(JOIN _missing "\n  " _list)
    message(FATAL_ERROR "DRIVER_FILES_DIR=${dir} lacks ${_count} driver file(s):\n  ${_list}\n"
                        "It needs the folders x86 and x64, each with every file listed in packaging/DriverFiles.cmake.")
  endif()
  set(${out} "${_found}" PARENT_SCOPE)
endfunction()
