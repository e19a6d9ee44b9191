# cpack -G DEB: libribbonkit1 (the shared library) and libribbonkit-dev (headers, the
# development link, the CMake package and the pkg-config file).
set(CPACK_PACKAGE_NAME ribbonkit)
set(CPACK_PACKAGE_VENDOR "ribbonkit")
set(CPACK_PACKAGE_CONTACT "ribbonkit developers <ribbonkit@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "One-dimensional barcode engine")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libribbonkit1)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "The shared library: the barcode engine for 23 symbologies, drawing onto bitmaps, with a C interface.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libribbonkit-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libribbonkit1 (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "Development files: headers, CMake package and pkg-config file of libribbonkit.")
# CPACK_COMPONENTS_ALL keeps the tools and the web module out of the packages.
# cpack installs the built tree; it need not build every tool and test of the project first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
