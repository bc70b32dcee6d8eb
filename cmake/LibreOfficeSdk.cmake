# Generates the UNO C++ headers from the office's type libraries and exposes the SDK as the
# interface target kelvara_uno.
set(LO_PROGRAM_DIR /usr/lib/libreoffice/program CACHE PATH "LibreOffice program folder")
set(LO_SDK_DIR /usr/lib/libreoffice/sdk CACHE PATH "LibreOffice SDK folder")

find_program(CPPUMAKER cppumaker HINTS ${LO_SDK_DIR}/bin REQUIRED)
foreach(rdb ${LO_PROGRAM_DIR}/types.rdb ${LO_PROGRAM_DIR}/types/offapi.rdb)
  if(NOT EXISTS ${rdb})
    message(FATAL_ERROR "LibreOffice type library ${rdb} not found: run scripts/install-deps.sh")
  endif()
endforeach()

set(UNO_INCLUDE_DIR ${CMAKE_BINARY_DIR}/uno-include)
set(UNO_STAMP ${UNO_INCLUDE_DIR}/.stamp)
add_custom_command(
  OUTPUT ${UNO_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${UNO_INCLUDE_DIR}
  COMMAND ${CPPUMAKER} -Gc -O${UNO_INCLUDE_DIR} ${LO_PROGRAM_DIR}/types.rdb
          ${LO_PROGRAM_DIR}/types/offapi.rdb
  COMMAND ${CMAKE_COMMAND} -E touch ${UNO_STAMP}
  DEPENDS ${LO_PROGRAM_DIR}/types.rdb ${LO_PROGRAM_DIR}/types/offapi.rdb
  COMMENT "Generating UNO headers")
add_custom_target(kelvara_uno_headers DEPENDS ${UNO_STAMP})

add_library(kelvara_uno INTERFACE)
add_dependencies(kelvara_uno kelvara_uno_headers)
# SYSTEM: the generated and SDK headers are not ours to keep warning-free.
target_include_directories(kelvara_uno SYSTEM INTERFACE ${UNO_INCLUDE_DIR} ${LO_SDK_DIR}/include)
target_compile_definitions(kelvara_uno INTERFACE LINUX UNX GCC CPPU_ENV=gcc3)
target_link_directories(kelvara_uno INTERFACE ${LO_SDK_DIR}/lib)
target_link_libraries(kelvara_uno INTERFACE uno_cppuhelpergcc3 uno_cppu uno_sal uno_salhelpergcc3)
# The helper libraries live only in the program folder.
target_link_options(kelvara_uno INTERFACE "LINKER:-rpath,${LO_PROGRAM_DIR}")
