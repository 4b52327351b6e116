// The sheet's footer. Dates are computed here, not by the C library, so that every platform
// prints the same text for the same seconds (the Windows runtime's gmtime refuses some).
#include "writers/sheet_footer.h"

#include <cstdio>

#include "base/encoding.h"
#include "writers/html_sheet.h"
#include "input/picks.h"
#include "base/sha256.h"
#include "base/version.h"

namespace {

constexpr std::int64_t kLastSecond = 253402300799;  // 9999-12-31 23:59:59

}  // namespace

bool sheetDate(const char* sourceDateEpoch, std::int64_t now, std::string& date, std::string& error) {
    std::int64_t seconds = 0;
    if (!runSeconds(sourceDateEpoch, now, seconds, error)) return false;
    date = utcText(seconds);
    return true;
}

bool runSeconds(const char* sourceDateEpoch, std::int64_t now, std::int64_t& seconds, std::string& error) {
    if (sourceDateEpoch == nullptr || *sourceDateEpoch == '\0') {
        seconds = now < 0 ? 0 : now > kLastSecond ? kLastSecond : now;
        return true;
    }
    seconds = 0;
    bool good = true;
    for (const char* p = sourceDateEpoch; *p != '\0' && good; ++p) {
        good = *p >= '0' && *p <= '9' && seconds <= kLastSecond;
        seconds = seconds * 10 + (*p - '0');
    }
    if (!good || seconds > kLastSecond) {
        error = "SOURCE_DATE_EPOCH \"" + printable(sourceDateEpoch) +
                "\" is not a count of seconds since 1970 (digits only, at most " + std::to_string(kLastSecond) + ")";
        return false;
    }
    return true;
}

std::string utcText(std::int64_t seconds) {
    // Days to a civil date, counted in 400-year eras from 0000-03-01.
    const std::int64_t days = seconds / 86400, daySeconds = seconds % 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = z / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 for March
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d UTC", year, month, day,
                  static_cast<int>(daySeconds / 3600), static_cast<int>(daySeconds / 60 % 60),
                  static_cast<int>(daySeconds % 60));
    return text;
}

std::string isoUtcText(std::int64_t seconds) {
    std::string text = utcText(seconds);
    text[10] = 'T';
    text.resize(19);
    return text;
}

std::string catalogueFact(const std::string& path, const std::string* bytes) {
    if (bytes == nullptr) return "built-in types only";
    Sha256 sha;
    sha.add(bytes->data(), bytes->size());
    return path + ", SHA-256 " + sha.hex().substr(0, 12);
}

void appendSheetFooter(std::string& out, const SheetFacts& facts, long line) {
    out += "<footer class=\"foot\">bwmap, version " BWMAP_VERSION_DOTTED " \xC2\xB7 ";
    appendHtmlText(out, facts.date);
    out += " \xC2\xB7 catalogue: ";
    appendHtmlText(out, inputToUtf8(facts.catalogue));
    if (!facts.plansFile.empty()) {
        out += " \xC2\xB7 plans: ";
        appendHtmlText(out, inputToUtf8(facts.plansFile));
        out += ", line ";
        out += std::to_string(line);
    }
    out += "</footer>\n";
}
