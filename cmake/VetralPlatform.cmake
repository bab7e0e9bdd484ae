# Platform files: where Linux and Windows differ, a source has one file per
# platform, name_unix.cpp and name_win.cpp, and the build takes the one of its
# target. The serial link on QSerialPort (qtseriallink.*) is the Unix one.
function(vetral_platform_sources var)
  set(sources ${${var}})
  if(WIN32)
    # windows1251.cpp is Unix's too: Qt's converters know the code page by name
    # only where Qt has ICU, which the Windows build's Qt has not.
    list(FILTER sources EXCLUDE REGEX "(_unix\\.(cpp|h)|/qtseriallink\\.(cpp|h)|/windows1251\\.cpp)$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win\\.(cpp|h)$")
  endif()
  set(${var} ${sources} PARENT_SCOPE)
endfunction()

if(WIN32)
  # windows.h without its rarely used parts (rpcndr.h's global "byte" would
  # shadow our parameters) and without the min/max macros.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
endif()
