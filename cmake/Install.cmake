# Where `cmake --install` puts the program, by the freedesktop conventions under the install
# prefix: both executables in bin/, the desktop entry in share/applications/ and the icon in
# every size of the hicolor theme in share/icons/. Included after all targets exist.
include(GNUInstallDirs)

if(TARGET hysteresis)
  install(TARGETS hysteresis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/hysteresis.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(n IN LISTS HYSTERESIS_ICON_SIZES)
    install(FILES ${HYSTERESIS_THEME_ICON_DIR}/${n}x${n}/apps/hysteresis.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${n}x${n}/apps)
  endforeach()
endif()
if(TARGET hysteresis-batch)
  install(TARGETS hysteresis-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
