# Sourced first by the Windows build's scripts, after they have changed to
# the clone:
#
#   . scripts/windows-root.sh "$@"
#
# They run on Debian 13: a cross build of Qt 6.8.2 needs the host tools of
# the same Qt (moc, rcc, uic, syncqt), which Debian 13 ships, and its
# MinGW-w64 and Wine build and run the result. Anywhere else (Debian 12,
# testing) the script starts again in the Debian 13 root of
# scripts/debian-root, where the clone and the cache have the same paths.
if [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" != trixie ]; then
    exec "$PWD/scripts/debian-root" trixie "$(realpath "$0")" "$@"
fi
