# Images compiled into the program, relative to resources/.
# All are drawn on a 24 x 24 grid in one flat palette, so they stay sharp at
# 1x and 2x on the 30 x 30 toolbar buttons.
set(QUILLPOST_ICON_FILES
  # application icon
  icons/quillpost.svg
  # general toolbar
  icons/new.svg
  icons/open.svg
  icons/save.svg
  icons/save-as.svg
  icons/print.svg
  icons/cut.svg
  icons/copy.svg
  icons/paste.svg
  icons/undo.svg
  icons/redo.svg
  icons/send-to-clipboard.svg
  icons/insert-article.svg
  icons/help.svg
  # markup toolbar
  icons/bold.svg
  icons/italic.svg
  icons/underline.svg
  icons/strike.svg
  icons/align-left.svg
  icons/align-center.svg
  icons/align-right.svg
  icons/rule.svg
  icons/link.svg
  icons/email.svg
  icons/image.svg
  icons/code.svg
  icons/quote.svg
  icons/list.svg
  # custom-symbol button
  icons/add-symbol.svg
  # tray icon animation, two frames
  icons/tray-1.svg
  icons/tray-2.svg
)
