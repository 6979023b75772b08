# What `cmake --install` puts on a machine and how CPack makes a Debian package of it.
# The version is the project's own (project(... VERSION) in CMakeLists.txt); the
# programs' --version, the man pages and the AppStream releases all take it from there.
include(GNUInstallDirs)

set(ZM_PROGRAMS corvane halvard zmsim)
set(ZM_GUI_PROGRAMS corvane halvard)
set(ZM_PACKAGING_DIR "${CMAKE_SOURCE_DIR}/packaging")
set(ZM_GENERATED_DIR "${CMAKE_BINARY_DIR}/packaging")
# The day of this version, for the AppStream release entry and the man pages.
set(ZM_RELEASE_DATE "2026-12-08")
# AppStream wants reverse-domain ids; the desktop entries keep the command's name, which
# is also the window's application id under Wayland.
set(ZM_APPSTREAM_ID_PREFIX "org.zm40")

install(TARGETS ${ZM_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

include(${CMAKE_CURRENT_LIST_DIR}/icons.cmake)

foreach(program IN LISTS ZM_PROGRAMS)
  configure_file(${ZM_PACKAGING_DIR}/metainfo/${program}.metainfo.xml.in
                 ${ZM_GENERATED_DIR}/${ZM_APPSTREAM_ID_PREFIX}.${program}.metainfo.xml @ONLY)
  install(FILES ${ZM_GENERATED_DIR}/${ZM_APPSTREAM_ID_PREFIX}.${program}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
  # The parts that two pages share are written once, in packaging/man/*.roff.
  set(ZM_PROGRAM ${program})
  foreach(part WORKING_FOLDER PORT_NAMES STATUS_LINE COMMON_TAIL)
    string(TOLOWER ${part} part_file)
    set(part_path ${ZM_PACKAGING_DIR}/man/${part_file}.roff)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${part_path})
    file(READ ${part_path} part_text)
    string(CONFIGURE "${part_text}" ZM_MAN_${part} @ONLY)
  endforeach()
  configure_file(${ZM_PACKAGING_DIR}/man/${program}.1.in ${ZM_GENERATED_DIR}/${program}.1 @ONLY)
  install(FILES ${ZM_GENERATED_DIR}/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
foreach(program IN LISTS ZM_GUI_PROGRAMS)
  install(FILES ${ZM_PACKAGING_DIR}/desktop/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
