# The Debian package, made by scripts/package.sh through CPack: what Debian
# asks beyond the plain install (a machine-readable copyright, a compressed
# changelog and manual pages, stripped programs) and the control fields.
# Included only when VENDRAK_DEB_PACKAGE is on, so a plain build and install
# stay as they are.

set(deb_dir ${CMAKE_CURRENT_BINARY_DIR}/deb)
file(MAKE_DIRECTORY ${deb_dir})

# The release date is the last commit's, so the same sources make the same
# package; without git, the configure time.
execute_process(COMMAND git log -1 --format=%cD
  WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
  OUTPUT_VARIABLE VENDRAK_RELEASE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT VENDRAK_RELEASE_DATE)
  string(TIMESTAMP VENDRAK_RELEASE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog.in ${deb_dir}/changelog @ONLY)

# gzip -n: no name or time stamp inside, as Debian wants.
set(deb_gz)
foreach(pair "changelog|${deb_dir}/changelog" "vendrak.1|${CMAKE_CURRENT_SOURCE_DIR}/data/vendrak.1"
             "vendrak-series.1|${CMAKE_CURRENT_SOURCE_DIR}/data/vendrak-series.1")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 source)
  add_custom_command(OUTPUT ${deb_dir}/${name}.gz
    COMMAND gzip -9nc ${source} > ${deb_dir}/${name}.gz
    DEPENDS ${source} VERBATIM)
  list(APPEND deb_gz ${deb_dir}/${name}.gz)
endforeach()
add_custom_target(deb_files ALL DEPENDS ${deb_gz})

install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/copyright ${deb_dir}/changelog.gz
  DESTINATION share/doc/vendrak)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vendrak)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vendrak developers")
set(CPACK_PACKAGE_CONTACT "The Vendrak developers <developers@vendrak.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vendrak developers <developers@vendrak.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "study a function given as a truncated series")
# The long description; CPack puts the summary above it and the leading space
# Debian wants before each line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vendrak studies one real function of one variable given as a truncated
power series in (x - centre) or a trigonometric series of a period. Over an
interval it finds roots and extrema, the exact integral and the value of any
derivative, plots the function or a derivative, saves the study in the series
file, prints a report and copies the graph.
.
It also makes series from an expression (vendrak-series), proves roots and
extrema in ball arithmetic, and runs studies from the command line.")
# Only the two programs are installed: the package build need not build the
# tests first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
