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

# Man pages and the changelog go compressed, as Debian keeps them: gzip -9n, so the same
# input always gives the same bytes (no name, no time stamp inside).
find_program(ZM_GZIP gzip REQUIRED)
set(ZM_GZIPPED "")
function(zm_gzip input output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "\"$1\" -9n -c \"$2\" > \"$3\"" zm_gzip ${ZM_GZIP} ${input} ${output}
    DEPENDS ${input}
    VERBATIM)
  set(ZM_GZIPPED ${ZM_GZIPPED} ${output} PARENT_SCOPE)
endfunction()

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
  zm_gzip(${ZM_GENERATED_DIR}/${program}.1 ${ZM_GENERATED_DIR}/${program}.1.gz)
  install(FILES ${ZM_GENERATED_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
foreach(program IN LISTS ZM_GUI_PROGRAMS)
  install(FILES ${ZM_PACKAGING_DIR}/desktop/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
endforeach()

# /usr/share/doc/zm40-tools: the README with the pages and pictures it links to (kept in
# docs/ beside it, so its links work there too), the copyright file and the changelog.
set(ZM_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/zm40-tools)
zm_gzip(${ZM_PACKAGING_DIR}/changelog ${ZM_GENERATED_DIR}/changelog.gz)
add_custom_target(zm_compressed ALL DEPENDS ${ZM_GZIPPED})
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${ZM_PACKAGING_DIR}/copyright
              ${ZM_GENERATED_DIR}/changelog.gz
        DESTINATION ${ZM_DOC_DIR})
file(GLOB zm_doc_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.md ${CMAKE_SOURCE_DIR}/docs/*.png)
install(FILES ${zm_doc_pages} DESTINATION ${ZM_DOC_DIR}/docs)

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
