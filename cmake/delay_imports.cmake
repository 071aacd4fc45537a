# Delay-loaded imports: the DLLs that only file dialogs, protected passwords
# and server connections need load on their first call instead of at
# start-up, where each one costs Wine milliseconds (comdlg32 brings its own
# dependencies). cmake/delay/<dll>.def lists the functions called, with the
# 32-bit stdcall argument sizes; the 64-bit names carry none. A function
# called but not listed still links, from the ordinary import library, and
# then loads its DLL at start-up again.
function(add_delay_import_library dll)
  set(source ${CMAKE_SOURCE_DIR}/cmake/delay/${dll}.def)
  set(def ${CMAKE_BINARY_DIR}/delay/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} text)
  set(kill_at "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(kill_at --kill-at)  # the DLL exports the names without their sizes
  else()
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  endif()
  file(WRITE ${def} "${text}")
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib} ${kill_at}
    DEPENDS ${def}
    COMMENT "Delay-import library for ${dll}.dll")
  add_custom_target(delay_${dll}_library DEPENDS ${lib})
  add_library(delay_${dll} INTERFACE)
  target_link_libraries(delay_${dll} INTERFACE ${lib})
  add_dependencies(delay_${dll} delay_${dll}_library)
endfunction()

foreach(dll comdlg32 crypt32 ws2_32)
  add_delay_import_library(${dll})
endforeach()
