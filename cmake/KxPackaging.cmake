# What a venue installs. `cmake --install` lays the program directory (both executables and AppSet
# with the starter library); cpack packs it as a .tar.gz that runs where it is unpacked, and as a
# .deb that puts it in /opt/kx7420 with a desktop entry and an icon for the desktop's menu.
install(FILES ${PROJECT_SOURCE_DIR}/dist/desktop/kx7420.desktop
        DESTINATION /usr/share/applications COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/dist/desktop/kx7420.svg
        DESTINATION /usr/share/icons/hicolor/scalable/apps COMPONENT desktop EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME kx7420)
set(CPACK_PACKAGE_VENDOR "KX-7420")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Programming and test tool for the KX-7420 DMX-512 lighting controller")
set(CPACK_GENERATOR "TGZ;DEB")
# Debug information stays in the build; the packages carry stripped executables.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME "kx7420-${PROJECT_VERSION}-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "KX-7420 tool maintainers")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6core6, libqt6network6, libqt6widgets6, libqt6gui6, fonts-wqy-microhei")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/KxCPackGenerators.cmake)
include(CPack)
