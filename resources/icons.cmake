# The program's pictures, in resources/icons/ as SVG. All but the program's
# own are drawn into PNGs at build time, at the sizes they are shown at, so
# that start-up reads small bitmaps and needs no SVG renderer.

# The application icon, compiled into the program as it is, and drawn at
# the sizes the window system is offered, all of them as the window is made
# (16 to 128 px at the scale factors 1, 1.5 and 2).
set(QUILLPOST_ICON_FILES icons/quillpost.svg)
set(QUILLPOST_WINDOW_ICON_SIZES 16 24 32 48 64 96 128 192 256)
# The sizes Qt gives the X window manager at scale factor 1, smallest first
# until one X request is full (up to 128 px), also kept as bare pixels: a
# PNG of each would be decoded before the window can appear.
set(QUILLPOST_WINDOW_ICON_PIXEL_SIZES 16 24 32 48 64 96 128)

# Toolbar buttons, drawn on a 24 x 24 grid in one flat palette and shown at
# 22 px on the 30 x 30 buttons: 22, 33 and 44 px for the scale factors 1,
# 1.5 and 2.
set(QUILLPOST_TOOLBAR_PICTURES
  # general toolbar
  new open save save-as print cut copy paste undo redo send-to-clipboard
  insert-article help
  # markup toolbar
  bold italic underline strike align-left align-center align-right rule link
  email image code quote list
  # custom-symbol button
  add-symbol
)
set(QUILLPOST_TOOLBAR_SIZES 22 33 44)
# The size the window first shows them at, also kept as bare pixels: the
# toolbars would otherwise decode some thirty PNGs before the window appears.
set(QUILLPOST_TOOLBAR_PIXEL_SIZES 22)

# The tray icon's two animation frames, 16 x 16, at the sizes trays ask for.
set(QUILLPOST_TRAY_PICTURES tray-1 tray-2)
set(QUILLPOST_TRAY_SIZES 16 22 24 32 48 64)
