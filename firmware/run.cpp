// The run: usage check, one library call with the path as given, description or error.
#include "run.h"

#include "description.h"
#include "report.h"

namespace {

// The whole text written and flushed without an error.
bool writeAll(std::FILE* stream, const std::string& text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fflush(stream) == 0 && written && !std::ferror(stream);
}

} // namespace

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

int writeRunResult(const RunResult& result, std::FILE* out, std::FILE* err)
{
    if (!result.out.empty() && !writeAll(out, result.out)) {
        writeAll(err, outputErrorMessage());
        return OUTPUT_ERROR;
    }
    if (!result.err.empty()) writeAll(err, result.err);
    return result.exitCode;
}
