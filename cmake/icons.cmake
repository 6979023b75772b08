# Each program's icon in the hicolor theme: the window icon's drawing rendered to PNG at
# the theme's usual sizes by a small build-time program, and the same picture as SVG.
set(ZM_ICON_SIZES 16 32 48 64 128 256)
set(ZM_ICON_DIR "${CMAKE_BINARY_DIR}/icons")

add_executable(zm_render_icon ${ZM_PACKAGING_DIR}/icons/render_icon.cpp)
target_include_directories(zm_render_icon PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(zm_render_icon PRIVATE Qt6::Gui)

set(icon_files "")
foreach(size IN LISTS ZM_ICON_SIZES)
  list(APPEND icon_files "${ZM_ICON_DIR}/${size}.png")
endforeach()
add_custom_command(
  OUTPUT ${icon_files}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZM_ICON_DIR}
  COMMAND zm_render_icon ${ZM_ICON_DIR} ${ZM_ICON_SIZES}
  DEPENDS zm_render_icon
  COMMENT "Rendering the program icons")
add_custom_target(zm_icons ALL DEPENDS ${icon_files})

foreach(program IN LISTS ZM_PROGRAMS)
  foreach(size IN LISTS ZM_ICON_SIZES)
    install(FILES ${ZM_ICON_DIR}/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${program}.png)
  endforeach()
  install(FILES ${ZM_PACKAGING_DIR}/icons/zm40.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
          RENAME ${program}.svg)
endforeach()
