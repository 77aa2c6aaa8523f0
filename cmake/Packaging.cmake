# The Debian package: `cpack -G DEB` in a build folder (or the `package` target).
# scripts/package-check.sh builds it as it ships: Release, hardened, tests off.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnok)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnok developers")
set(CPACK_PACKAGE_CONTACT "Varnok developers <varnok@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch and collect the students' files of a practical exam")
set(CPACK_PACKAGE_DESCRIPTION [=[
Varnok is for the teacher who invigilates a practical exam in a computer lab.
From the invigilator's computer it shows one row per student station, up to
fourteen: the station's exam folder, the files in it that match a name filter,
and the time of the newest one, refreshed every ten seconds. A station that
drops off the network turns red, and so does the time of a station whose newest
file was last saved more than ten minutes ago.

At the end of the session it collects every station's exam files into the
session's collection folder, never replacing a file, verifies each copy and
writes a log and a SHA256SUMS list that proves later what each student handed
in. It can then empty the stations' exam folders, deleting each file only after
a verified backup.

The laboratory is described by a small text file, pcs.txt, in the folder where
Varnok is started.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Then the compiler's .comment section goes too, as Debian's own tools do.
set(CPACK_VARNOK_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageStrip.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: what dpkg-shlibdeps (from dpkg-dev) finds for the program's shared libraries,
# then these. Without dpkg-dev CPack leaves that part out without failing.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS xdg-utils)
# "Arial" in the window falls back to a font of the same metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
