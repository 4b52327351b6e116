/* Version of the pkgrun program: the one place its numbers are written. */
#ifndef LAUNCHER_WIN32_VERSION_H
#define LAUNCHER_WIN32_VERSION_H

#define PKGRUN_VERSION_MAJOR 1
#define PKGRUN_VERSION_MINOR 0
#define PKGRUN_VERSION_PATCH 0
#define PKGRUN_VERSION_BUILD 0
#define PKGRUN_VERSION_TEXT "1, 0, 0"

#endif
