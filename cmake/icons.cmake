# Each program's icon in the hicolor theme: its window icon's drawing rendered to PNG at
# the theme's usual sizes by a small build-time program, and the same picture as SVG
# (packaging/icons/<program>.svg, which scripts/check_package.sh compares with the PNG).
set(ZM_ICON_SIZES 16 32 48 64 128 256)
set(ZM_ICON_DIR "${CMAKE_BINARY_DIR}/icons")

add_executable(zm_render_icon ${ZM_PACKAGING_DIR}/icons/render_icon.cpp)
target_include_directories(zm_render_icon PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(zm_render_icon PRIVATE Qt6::Gui)

set(icon_files "")
foreach(program IN LISTS ZM_PROGRAMS)
  set(program_icons "")
  foreach(size IN LISTS ZM_ICON_SIZES)
    list(APPEND program_icons "${ZM_ICON_DIR}/${program}/${size}.png")
  endforeach()
  add_custom_command(
    OUTPUT ${program_icons}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZM_ICON_DIR}/${program}
    COMMAND zm_render_icon ${ZM_ICON_DIR}/${program} ${program} ${ZM_ICON_SIZES}
    DEPENDS zm_render_icon
    COMMENT "Rendering the ${program} icon")
  list(APPEND icon_files ${program_icons})
endforeach()
add_custom_target(zm_icons ALL DEPENDS ${icon_files})

foreach(program IN LISTS ZM_PROGRAMS)
  foreach(size IN LISTS ZM_ICON_SIZES)
    install(FILES ${ZM_ICON_DIR}/${program}/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${program}.png)
  endforeach()
  install(FILES ${ZM_PACKAGING_DIR}/icons/${program}.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
endforeach()
