# The package's maintainer, named as Debian's own tools name the person who
# makes a package: DEBFULLNAME and DEBEMAIL, or DEBEMAIL alone in the form
# "Name <address>". Read when the package is made, not when the build is
# configured. Sets QUILLPOST_MAINTAINER, and QUILLPOST_MAINTAINER_NAMED to
# whether the environment named one.
set(QUILLPOST_MAINTAINER_NAME "$ENV{DEBFULLNAME}")
set(QUILLPOST_MAINTAINER_ADDRESS "$ENV{DEBEMAIL}")
if(QUILLPOST_MAINTAINER_ADDRESS MATCHES "^(.*[^ ]) *<([^<>]+)>$")
  if(QUILLPOST_MAINTAINER_NAME STREQUAL "")
    set(QUILLPOST_MAINTAINER_NAME "${CMAKE_MATCH_1}")
  endif()
  set(QUILLPOST_MAINTAINER_ADDRESS "${CMAKE_MATCH_2}")
endif()
if(NOT QUILLPOST_MAINTAINER_NAME STREQUAL "" AND NOT QUILLPOST_MAINTAINER_ADDRESS STREQUAL "")
  set(QUILLPOST_MAINTAINER "${QUILLPOST_MAINTAINER_NAME} <${QUILLPOST_MAINTAINER_ADDRESS}>")
  set(QUILLPOST_MAINTAINER_NAMED TRUE)
else()
  # A build that names no one. The reserved top-level domain .invalid says
  # plainly that the address reaches nobody.
  set(QUILLPOST_MAINTAINER "Quillpost local build <quillpost@local-build.invalid>")
  set(QUILLPOST_MAINTAINER_NAMED FALSE)
endif()
