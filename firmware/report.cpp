// Status-to-error-number rules and the error messages.
#include "report.h"

#include "quillscan.h"

int errorNumberFor(int status)
{
    if (status == 0) return 0;
    if (status == -1) return 2;
    if (status & FW_STATUS_BAD_CHECKSUM) return 3;
    if (status & FW_STATUS_BAD_SIGNATURE) return 4;
    if (status & FW_STATUS_UNKNOWN_PRODUCT) return 5;
    return status;
}

std::string errorMessage(int errorNumber, const char* path)
{
    const char* reason = nullptr;
    switch (errorNumber) {
    case USAGE_ERROR:
        return "Usage Error: QUILLSCAN [drive:][path]filename\n";
    case 2: {
        std::string text = "Execution Error 2: Switch firmware file ";
        return text.append(path).append(" could not be found or read.\n");
    }
    case 3: reason = "an invalid checksum"; break;
    case 4: reason = "an invalid signature"; break;
    case 5: reason = "an unknown product ID"; break;
    default:
        return "Unknown error code " + std::to_string(errorNumber) + " .\n";
    }
    std::string text = "Execution Error " + std::to_string(errorNumber) +
                       ": Switch firmware file ";
    return text.append(path).append(" is invalid due to ").append(reason).append(".\n");
}

std::string outputErrorMessage()
{
    return "Output Error 7: The description could not be written to standard output.\n";
}
