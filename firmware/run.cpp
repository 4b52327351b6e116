// The run: usage check, one library call with the path as given, description or error.
#include "run.h"

#include "description.h"
#include "report.h"

RunResult runQuillscan(int argc, const char* const* argv, FirmwareLibrary& library)
{
    RunResult result;
    if (argc != 2) {
        result.exitCode = USAGE_ERROR;
        result.err = errorMessage(USAGE_ERROR, "");
        return result;
    }
    const char* path = argv[1];
    fwHdr record;  // the library fills it; not cleared beforehand
    int errorNumber = errorNumberFor(library.describe(path, &record));
    if (errorNumber != 0) {
        result.exitCode = errorNumber;
        result.err = errorMessage(errorNumber, path);
        return result;
    }
    result.out = describeRecord(path, record);
    return result;
}
