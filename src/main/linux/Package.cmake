# cpack -G DEB (in the linux build folder): tovrikocr_<version>_amd64.deb with everything
# cmake --install puts under /usr. dpkg-shlibdeps finds the libraries' packages; what the
# programs load by name at run time is listed here: Qt's X11 platform comes with libqt6gui6,
# its Wayland platform and the image formats of dropped files are plugins of their own, the
# stand-in reads Tesseract's language files and espeak-ng's voices.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovrikocr)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TovrikOcr")
set(CPACK_PACKAGE_CONTACT "TovrikOcr developers <tovrikocr@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Screen capture to a file, the clipboard or cloud OCR, with translation")
set(CPACK_PACKAGE_DESCRIPTION
    "A tray utility: a global hotkey freezes the screen, a dragged rectangle is saved, copied or \
recognised, and the text can be translated and read aloud. Includes tovrik-standin, a local \
server that answers the cloud services' protocols offline.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tesseract-ocr-eng, tesseract-ocr-chi-sim, espeak-ng-data")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-image-formats-plugins, fonts-wqy-microhei, xdg-utils")
# The build keeps its debug information; the package goes without.
set(CPACK_STRIP_FILES ON)
include(CPack)
