// quillscan.exe: the console front end, calling the linked library "quillscan.dll".
#include <cstdio>

#include "run.h"

namespace {

// The library this program is linked against through its import library.
class LinkedLibrary : public FirmwareLibrary {
public:
    int describe(const char* path, fwHdr* record) override
    {
        return getFirmwareDescription(path, record);
    }
};

} // namespace

// Streams stay in text mode: each "\n" ends its line as the console expects (CR LF).
int main(int argc, char** argv)
{
    LinkedLibrary library;
    RunResult result = runQuillscan(argc, argv, library);
    return writeRunResult(result, stdout, stderr);
}
