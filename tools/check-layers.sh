#!/usr/bin/env bash
# Checks that includes between the folders of src/ run only downwards:
# files <- model <- settings <- platform <- control, face <- widgets, main.cpp on top
# (control and face stand side by side and do not include each other; the
# root helper may use the model's server-name rules only), and that no
# folder below the face and the windows includes a header of Qt Gui or Qt
# Widgets. Prints every such include and fails if there is one.
#
#   tools/check-layers.sh
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/../src"
rank() {
  case "$1" in
    files) echo 0 ;; model) echo 1 ;; settings) echo 2 ;; platform) echo 3 ;; control | face) echo 4 ;; widgets) echo 5 ;;
    synchelper) echo 2 ;; *) echo 6 ;;
  esac
}
status=0
while IFS=: read -r file included; do
  from=${file%%/*}; [ "$from" = "$file" ] && from=main
  to=${included%%/*}; [ "$to" = "$included" ] && continue # logging.h, version.h: the model's
  if [ "$(rank "$to")" -gt "$(rank "$from")" ] || { [ "$(rank "$to")" -eq "$(rank "$from")" ] && [ "$to" != "$from" ]; } \
     || { [ "$from" = synchelper ] && [ "$included" != model/servername.h ]; }; then
    echo "$file includes $included, which is above or beside it"
    status=1
  fi
done < <(grep -rHo '^#include "[a-z]*/[a-z0-9]*\.h"' --include='*.cpp' --include='*.h' . \
           | sed 's|^\./||; s|:#include "|:|; s|"$||')
# Below the windows nothing knows Qt Widgets (nor Qt Gui, below the face):
# the controller and the platform stay Qt Core only, and the build gives
# them no Widgets include path either.
while IFS=: read -r file line; do
  echo "$file includes ${line#\#include }, a header of Qt's windows, below the windows"
  status=1
done < <(grep -rHE '^#include <(QtWidgets/|QtGui/|QApplication|QGuiApplication|QWidget|QScreen|QImage|QPixmap|QPainter)' \
           files model settings platform control 2>/dev/null | sed 's|^\./||')
[ "$status" -eq 0 ] && echo "layers: every include in src/ runs downwards, and Qt's windows stay above the controller"
exit "$status"
