/* Version of the bwmap program: the one place its numbers are written (resource and code). */
#ifndef BWMAP_VERSION_H
#define BWMAP_VERSION_H

#define BWMAP_VERSION_MAJOR 1
#define BWMAP_VERSION_MINOR 0
#define BWMAP_VERSION_PATCH 0
#define BWMAP_VERSION_BUILD 0
#define BWMAP_VERSION_DOTTED "1.0.0"
#define BWMAP_VERSION_TEXT "1, 0, 0"

#endif
