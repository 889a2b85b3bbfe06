# cmake --install: the program and the local stand-in in bin/, a menu entry, the icons and the
# software centres' entry. Installed in <prefix>/bin beside <prefix>/share, the program keeps its
# settings, screenshots and speech file in ~/.local/share/TovrikOcr instead of beside the
# executable. src/main/linux/Package.cmake makes a .deb of the same files.
include(GNUInstallDirs)
install(TARGETS TovrikOcr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The stand-in is defined later (standin/), so it is installed by its file; standin/ installs
# its dictionary.
if(EXISTS ${PROJECT_SOURCE_DIR}/standin/CMakeLists.txt)
    install(PROGRAMS $<TARGET_FILE:tovrik-standin> DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/tovrikocr.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/tovrikocr.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The hicolor PNG sizes, drawn at build time by the code that draws the program's own icon.
add_executable(tovrik-icon-png ${CMAKE_CURRENT_LIST_DIR}/IconPng.cpp)
target_link_libraries(tovrik-icon-png PRIVATE tovrik_app Qt6::Gui tovrik_warnings)
set(TOVRIK_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icon_root ${CMAKE_CURRENT_BINARY_DIR}/hicolor)
set(icon_files)
foreach(size IN LISTS TOVRIK_ICON_SIZES)
    list(APPEND icon_files ${icon_root}/${size}x${size}/apps/tovrikocr.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
                   COMMAND tovrik-icon-png ${icon_root} ${TOVRIK_ICON_SIZES}
                   DEPENDS tovrik-icon-png
                   COMMENT "Drawing the program's icon in the hicolor sizes" VERBATIM)
add_custom_target(tovrik-icons ALL DEPENDS ${icon_files})
install(DIRECTORY ${icon_root} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

configure_file(${CMAKE_CURRENT_LIST_DIR}/resources/tovrikocr.metainfo.xml
               ${CMAKE_CURRENT_BINARY_DIR}/io.github.tovrik.tovrikocr.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/io.github.tovrik.tovrikocr.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Where the shipped files come from and under which licences (the dictionary index is an
# adaptation of CC-CEDICT).
install(FILES ${CMAKE_CURRENT_LIST_DIR}/resources/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovrikocr)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
