# Read by cpack as it makes the package (CPACK_PROJECT_CONFIG_FILE).
include(${CMAKE_CURRENT_LIST_DIR}/maintainer.cmake)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLPOST_MAINTAINER}")
if(NOT QUILLPOST_MAINTAINER_NAMED)
  message(NOTICE "DEBFULLNAME and DEBEMAIL are not set: the package's maintainer is "
                 "\"${QUILLPOST_MAINTAINER}\". Set them (as for dch) to name yourself.")
endif()
