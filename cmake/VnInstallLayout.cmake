# Where an installation puts each kind of file (the Filesystem Hierarchy
# Standard's places under CMAKE_INSTALL_PREFIX, /usr/local by default), and
# the installed folders as the programs find them: relative to bin/, so that a
# tree installed under any prefix or DESTDIR finds its own (src/platform/ShippedFiles).
include(GNUInstallDirs)

set(VN_INSTALL_HELPERDIR ${CMAKE_INSTALL_LIBEXECDIR}/vantor-netwarden)
set(VN_INSTALL_DATADIR ${CMAKE_INSTALL_DATAROOTDIR}/vantor-netwarden)

cmake_path(RELATIVE_PATH CMAKE_INSTALL_FULL_LIBEXECDIR BASE_DIRECTORY ${CMAKE_INSTALL_FULL_BINDIR}
           OUTPUT_VARIABLE vn_libexec_from_bin)
cmake_path(RELATIVE_PATH CMAKE_INSTALL_FULL_DATAROOTDIR BASE_DIRECTORY ${CMAKE_INSTALL_FULL_BINDIR}
           OUTPUT_VARIABLE vn_dataroot_from_bin)
set(VN_HELPER_DIR_FROM_BIN ${vn_libexec_from_bin}/vantor-netwarden)
set(VN_DATA_DIR_FROM_BIN ${vn_dataroot_from_bin}/vantor-netwarden)
