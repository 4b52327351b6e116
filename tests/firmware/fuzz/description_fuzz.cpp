// Fuzzes the description of a record that the library filled with arbitrary bytes: the record
// sits alone on the heap, so a read past it is caught; each line's value is checked against its
// field's width, so a read past a field into the next one is caught too.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "description.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

struct Line {
    const char* label;
    std::size_t width;  // the longest value its field can give
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    // The first bytes choose the kind, so every kind is reached; the rest fills the record.
    const std::uint32_t kinds[] = {1, 2, 0x4B545258, 0x544F4252, 0x5351554D, 7};
    auto record = std::make_unique<fwHdr>();
    std::memcpy(record.get(), data + 1, std::min(size - 1, sizeof(fwHdr)));
    record->imageKind = kinds[data[0] % 6];
    // A line end inside a field would split its line; the widths below are what is checked.
    auto* bytes = reinterpret_cast<unsigned char*>(record.get());
    for (std::size_t i = 0; i < sizeof(fwHdr); ++i)
        if (bytes[i] == '\n') bytes[i] = 'n';

    const std::string text = describeRecord("image.bin", *record);
    std::vector<Line> lines = {{"Filename\t: ", 9}, {"Version \t: ", 256}};
    switch (record->imageKind) {
    case 1: case 2: case 0x4B545258: lines.push_back({"Image Type\t: ", 128}); break;
    case 0x544F4252: case 0x5351554D: lines.push_back({"Build Date\t: ", 128}); break;
    default: break;
    }
    lines.push_back({"Manufacturer\t: ", 64});
    lines.push_back({"Platform\t: ", 32});

    std::size_t at = 0;
    for (const Line& line : lines) {
        const std::size_t label = std::strlen(line.label);
        check(text.compare(at, label, line.label) == 0);
        const std::size_t end = text.find('\n', at);
        check(end != std::string::npos && end - at - label <= line.width);
        at = end + 1;
    }
    check(at == text.size());
    return 0;
}
