# Installs the Debian changelog, signed by the package's maintainer and
# compressed as Debian wants it (gzip -9n: no name, no time stamp). Run by
# the install step, with QUILLPOST_VERSION, QUILLPOST_CHANGELOG_SOURCE and
# QUILLPOST_DOC_DIR (below the prefix) set.
include(${CMAKE_CURRENT_LIST_DIR}/maintainer.cmake)
set(doc_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${QUILLPOST_DOC_DIR}")
# A version without a Debian revision makes a native package, whose Debian
# changelog is changelog.gz.
set(changelog "${doc_dir}/changelog")
file(MAKE_DIRECTORY "${doc_dir}")
configure_file("${QUILLPOST_CHANGELOG_SOURCE}" "${changelog}" @ONLY)
execute_process(COMMAND gzip -9nf "${changelog}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip could not compress ${changelog}")
endif()
message(STATUS "Installing: ${changelog}.gz")
