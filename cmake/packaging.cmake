# What `cmake --install` puts in place beside the executable, and the Debian package CPack
# builds from it.
include(GNUInstallDirs)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/cn.zelvora.Zelvora.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/cn.zelvora.Zelvora.metainfo.xml"
  DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/packaging/icons/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvora)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR Zelvora)
set(CPACK_PACKAGE_CONTACT "Zelvora <support@zelvora.cn>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio and video suite: playlists, online music, video downloads")
set(CPACK_PACKAGE_DESCRIPTION "Zelvora plays local music and video from persistent playlists, plays online
music services in an embedded browser, resolves and downloads online videos, searches video
sites and offers a small toolbox, with a Chinese interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# The shared libraries (libmpv among them) come from dpkg-shlibdeps; the plug-ins and the font
# the program loads at run time are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, qt6-translations-l10n, libqt6svg6, fonts-wqy-microhei")
# The video window resolves today's sites with yt-dlp and joins pieces with ffmpeg when they
# are installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "yt-dlp, ffmpeg")
include(CPack)
