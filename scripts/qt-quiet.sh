# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run the program or its tests: Qt's warnings that say nothing about
# the program stay out of their output. Only these exact lines; every other warning shows.
# Qt makes a runtime folder of its own, with a warning, when the session has none: give it a
# private one under the build folder.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=${BUILD_DIR:-build}/runtime
    [[ $XDG_RUNTIME_DIR == /* ]] || XDG_RUNTIME_DIR=$PWD/$XDG_RUNTIME_DIR
    export XDG_RUNTIME_DIR
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
fi
# The offscreen platform cannot pass a window's size limits on, and says so for every window.
qt_quiet_filter() {
    grep --line-buffered -v -x -F 'This plugin does not support propagateSizeHints()' || true
}
