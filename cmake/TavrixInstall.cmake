# What `cmake --install` puts where, under any prefix (and DESTDIR). The program finds its library,
# companion, skin, language files, icons and help beside its own executable (/proc/self/exe), so
# all of them stay together in lib/tavrix; bin/tavrix is a relative link to the program there,
# which keeps the tree movable.
set(TAVRIX_INSTALL_PROGRAM_DIR lib/tavrix)

install(TARGETS tavrix sentrel RUNTIME DESTINATION ${TAVRIX_INSTALL_PROGRAM_DIR})
install(TARGETS dexlink LIBRARY DESTINATION ${TAVRIX_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${TAVRIX_OUTPUT_DIR}/Skins ${TAVRIX_OUTPUT_DIR}/Icons ${TAVRIX_OUTPUT_DIR}/Help
        DESTINATION ${TAVRIX_INSTALL_PROGRAM_DIR})
install(FILES ${TAVRIX_OUTPUT_DIR}/Lang0409.ini ${TAVRIX_OUTPUT_DIR}/Lang0804.ini ${TAVRIX_OUTPUT_DIR}/Lang0404.ini
        DESTINATION ${TAVRIX_INSTALL_PROGRAM_DIR})

set(tavrix_commands tavrix)
if(TARGET tavrix-ctl)
  install(TARGETS tavrix-ctl RUNTIME DESTINATION ${TAVRIX_INSTALL_PROGRAM_DIR})
  list(APPEND tavrix_commands tavrix-ctl)
endif()
# Each command: a link in bin and its manual page, compressed the way Debian ships them (the
# install test looks for one per command).
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install/bin)
set(tavrix_man_pages "")
foreach(command IN LISTS tavrix_commands)
  file(CREATE_LINK ../${TAVRIX_INSTALL_PROGRAM_DIR}/${command} ${CMAKE_BINARY_DIR}/install/bin/${command} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/install/bin/${command} DESTINATION bin)
  if(NOT EXISTS ${PROJECT_SOURCE_DIR}/data/man/${command}.1.in)
    continue()
  endif()
  set(page ${CMAKE_BINARY_DIR}/install/man/${command}.1)
  configure_file(${PROJECT_SOURCE_DIR}/data/man/${command}.1.in ${page} @ONLY)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND gzip -9 -n -k -f ${page}
    DEPENDS ${page}
    COMMENT "Compressing the manual page of ${command}")
  list(APPEND tavrix_man_pages ${page}.gz)
endforeach()
add_custom_target(tavrix_man_pages ALL DEPENDS ${tavrix_man_pages})
install(FILES ${tavrix_man_pages} DESTINATION share/man/man1)

# The desktop: menu entry, icon theme, software-centre metadata, keyboard access without root.
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/org.tavrix.Tavrix.desktop DESTINATION share/applications)
install(DIRECTORY ${TAVRIX_HICOLOR_DIR}/ DESTINATION share/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/org.tavrix.Tavrix.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/udev/70-pl3094v.rules DESTINATION lib/udev/rules.d)

# The autostart entry belongs to the system's configuration: /etc for a /usr installation,
# <prefix>/etc otherwise. The prefix is only known at install time (--prefix, the package), so the
# choice is made then; file(INSTALL) adds DESTDIR itself.
install(CODE "
  set(tavrix_autostart_dir \"\${CMAKE_INSTALL_PREFIX}/etc/xdg/autostart\")
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(tavrix_autostart_dir /etc/xdg/autostart)
  endif()
  file(INSTALL \"${PROJECT_SOURCE_DIR}/data/desktop/autostart/org.tavrix.Tavrix.desktop\"
       DESTINATION \"\${tavrix_autostart_dir}\")
")

# Everything the installation takes, for building just that (scripts/package).
add_custom_target(tavrix_installed DEPENDS ${tavrix_commands} tavrix_man_pages)
