# cmake --install: the program and the local stand-in in bin/, a menu entry and the icon.
# Installed under a prefix the user cannot write (/usr/local), the program keeps its settings,
# screenshots and speech file in ~/.local/share instead of beside the executable.
include(GNUInstallDirs)
install(TARGETS TovrikOcr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The stand-in is defined later (standin/), so it is installed by its file.
if(EXISTS ${PROJECT_SOURCE_DIR}/standin/CMakeLists.txt)
    install(PROGRAMS $<TARGET_FILE:tovrik-standin> DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/tovrikocr.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/tovrikocr.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
