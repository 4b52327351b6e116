// Formatting of the description record: the version for each kind, the kind's line and texts.
//
// Every read stays inside its field: a library that leaves no NUL in a field gives the field's
// bytes and nothing of the fields after it.
#include "description.h"

#include <cstring>

std::string wholeText(const char* field, std::size_t width)
{
    const void* end = std::memchr(field, '\0', width);
    return std::string(field, end ? static_cast<const char*>(end) - field : width);
}

std::string trimmedText(const char* field, std::size_t width)
{
    std::size_t skipped = 0;
    while (skipped < width && (field[skipped] == ' ' || field[skipped] == '\t')) ++skipped;
    return wholeText(field + skipped, width - skipped);
}

namespace {

// Kinds 1 and 2: signed bytes from offset 31 down to 28, "5, 0, 1, 4" at 28..31 is 4.1.0.5.
std::string numericVersion(const char (&bytes)[8])
{
    std::string text;
    for (int i = 3; i >= 0; --i) {
        text += std::to_string(static_cast<signed char>(bytes[i]));
        text += i > 0 ? "." : "\n";
    }
    return text;
}

std::string buildDateLine(const fwHdr& record)
{
    std::string line = "Build Date\t: ";
    if (record.imageInfo[0] == '\0') return line + "Unknown\n";
    return line + trimmedText(record.imageInfo, sizeof record.imageInfo) + "\n";
}

} // namespace

std::string describeRecord(const char* path, const fwHdr& record)
{
    std::string text = "Filename\t: ";
    text.append(path).append("\n");
    text += "Version \t: ";
    switch (record.imageKind) {
    case KIND_ONE:
    case KIND_TWO:
        text += numericVersion(record.version);
        text += "Image Type\t: " + wholeText(record.imageInfo, sizeof record.imageInfo) + "\n";
        break;
    case KIND_KTRX:
        text += wholeText(record.versionText, sizeof record.versionText) + "\n";
        text += "Image Type\t: " + wholeText(record.imageInfo, sizeof record.imageInfo) + "\n";
        break;
    case KIND_TOBR:
    case KIND_SQUM:
        text += trimmedText(record.version, sizeof record.version) + "\n";
        text += buildDateLine(record);
        break;
    default:
        // Neither the version nor the kind's line has a known form: say so and go on.
        text += "Unknown\n";
        break;
    }
    text += "Manufacturer\t: " + trimmedText(record.manufacturer, sizeof record.manufacturer) + "\n";
    text += "Platform\t: " + trimmedText(record.platform, sizeof record.platform) + "\n";
    return text;
}
