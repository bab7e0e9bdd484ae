# The icon and version resource of the Windows programs: vetral.ico is drawn
# from vetral.svg (PNGs by rsvg-convert, put together by ImageMagick), and
# each program gets a resource file with it and the project's version.
find_program(MAGICK_CONVERT convert REQUIRED)
set(VETRAL_PUBLISHER "Программатор Ветрал")
set(VETRAL_ICON_ICO ${CMAKE_CURRENT_BINARY_DIR}/vetral.ico)
set(sizes 16 24 32 48 64 256)
set(pngs)
foreach(size IN LISTS sizes)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/ico/vetral-${size}.png)
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/ico)
  execute_process(COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png}
                          ${CMAKE_CURRENT_SOURCE_DIR}/vetral.svg COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND pngs ${png})
endforeach()
execute_process(COMMAND ${MAGICK_CONVERT} ${pngs} ${VETRAL_ICON_ICO} COMMAND_ERROR_IS_FATAL ANY)

function(vetral_windows_resource target description)
  set(VETRAL_RC_NAME ${target})
  set(VETRAL_RC_FILE ${target}.exe)
  set(VETRAL_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_BINARY_DIR}/packaging/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/vetral.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
