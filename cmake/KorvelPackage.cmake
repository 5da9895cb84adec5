# cpack -G DEB in a build tree: korvel_<version>_<arch>.deb with what `cmake --install` installs.
# The libraries' packages are computed from the programs (dpkg-shlibdeps); what is loaded by name at
# run time is listed by hand: a font that draws Chinese, and Qt's own Chinese texts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VENDOR "The Korvel developers")
set(CPACK_PACKAGE_CONTACT "The Korvel developers <korvel@korvel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Taobao and Tmall shop product collector")
set(CPACK_PACKAGE_DESCRIPTION
  "Korvel collects every product of a Taobao or Tmall shop into a list (ID, picture, title, prices,
sold, reviews) and exports it as GBK text or CSV. korvel is the window, korvel-collect the same
collection from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n, ca-certificates")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES /build/ /\\.git/)
include(CPack)
