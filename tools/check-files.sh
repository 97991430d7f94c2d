#!/usr/bin/env bash
# Checks that every file the program opens, makes or locks and every program
# it starts goes through src/files/, where the rules that keep other users
# out live: prints each line elsewhere in src/ that opens a file, makes a
# folder, takes a lock or starts a program by itself, and fails if there is
# one. The root helper (src/synchelper/) is a program of its own, without Qt,
# and starts its one client by a path fixed at build time.
#
#   tools/check-files.sh [folder]    (default: src/ of this checkout)
set -euo pipefail
src=${1:-"$(dirname "$(readlink -f "$0")")/../src"}
cd "$src"
# What does it elsewhere: Qt's file, lock and process classes, making
# folders, and the system's own calls for opening and starting.
pattern='\bQ(SaveFile|LockFile|TemporaryFile|TemporaryDir|Process)\b|(\.|->)open\s*\([^)]*QIODevice|\bQFile::(copy|rename|remove|link|resize|setPermissions|moveToTrash)\b|\b(mkpath|mkdir|rmpath|rmdir|removeRecursively)\s*\(|(^|[^[:alnum:]_])::(open|openat|creat|mkdirat|unlink|unlinkat|rename|renameat|system)\s*\(|(::|[^.>[:alnum:]_])(fopen|popen|fexecve|execve|execv|execvp|execl|execlp|posix_spawnp?|ShellExecuteExW?|CreateProcessW?)\s*\(|\bsf_open\s*\('
found=$(grep -rnE "$pattern" --include='*.cpp' --include='*.h' . \
          | grep -v '^\./files/' | grep -v '^\./synchelper/' \
          | grep -vE '^[^:]*:[0-9]+:\s*//' || true)
if [ -n "$found" ]; then
  echo "$found" | sed 's|^\./|src/|'
  echo "files: the lines above open, make, lock or start something outside src/files/"
  exit 1
fi
echo "files: every file opened and program started in src/ goes through src/files/"
