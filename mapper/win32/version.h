/* Version of the bwplan program: the one place its numbers are written (resource and code). */
#ifndef MAPPER_WIN32_VERSION_H
#define MAPPER_WIN32_VERSION_H

#define BWPLAN_VERSION_MAJOR 1
#define BWPLAN_VERSION_MINOR 0
#define BWPLAN_VERSION_PATCH 0
#define BWPLAN_VERSION_BUILD 0

#define BWPLAN_STRINGIZE_(x) #x
#define BWPLAN_STRINGIZE(x) BWPLAN_STRINGIZE_(x)
/* "1, 0, 0": the version text of the string table, built from the numbers above. */
#define BWPLAN_VERSION_TEXT \
    BWPLAN_STRINGIZE(BWPLAN_VERSION_MAJOR) ", " BWPLAN_STRINGIZE(BWPLAN_VERSION_MINOR) ", " \
    BWPLAN_STRINGIZE(BWPLAN_VERSION_PATCH)

#define BWPLAN_PRODUCT_NAME "Baywise"
#define BWPLAN_INTERNAL_NAME "bwplan"
#define BWPLAN_FILE_NAME "bwplan.exe"

#endif
