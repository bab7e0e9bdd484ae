# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads, for
# std::thread and std::mutex). VETRAL_WINDOWS_PREFIX names the folder where
# scripts/windows/build-deps put Qt, zlib and libzip for this target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
# Resource files are UTF-8 (the Russian product name).
set(CMAKE_RC_FLAGS_INIT "-c 65001")
set(CMAKE_AR ${triple}-ar)
set(CMAKE_RANLIB ${triple}-ranlib)

if(NOT VETRAL_WINDOWS_PREFIX AND DEFINED ENV{VETRAL_WINDOWS_PREFIX})
  set(VETRAL_WINDOWS_PREFIX $ENV{VETRAL_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${VETRAL_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config (libzip) looks at the target's libraries only, never the host's.
if(VETRAL_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${VETRAL_WINDOWS_PREFIX}/lib/pkgconfig:${VETRAL_WINDOWS_PREFIX}/share/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()
