# Images compiled into the program, relative to resources/.
set(QUILLPOST_ICON_FILES
  icons/quillpost.svg
)
