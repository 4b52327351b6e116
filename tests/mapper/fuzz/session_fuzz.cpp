// Fuzzes user sessions: a catalogue file and a sequence of user actions from the fuzzer's bytes,
// with the placement rules' promises checked after every action, and a twin form that keeps
// column records compared with it.
//
// Input: the catalogue file's bytes up to a 0xFF byte, then one byte per choice.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "memory_file.h"
#include "rules.h"
#include "user_sessions.h"

namespace {

// Choices taken from the input, one byte each; the session ends when the bytes do.
class ByteChooser {
public:
    ByteChooser(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    int below(int n) { return more() ? data_[at_++] % n : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\xFF');
    static MemoryFile file("session.ini");
    file.assign(input.data(), split == std::string::npos ? size : split);

    CatalogueHooks hooks;
    hooks.fileName = file.path().c_str();
    OwnedCatalogue catalogue;
    if (!loadCatalogue(catalogue, hooks)) std::abort();
    if (split == std::string::npos) return 0;

    // A twin form keeps column records, its start-up columns settled once and kept: after every
    // action it must equal the form whose pass works every column. It resets to what it kept.
    sessions::UserForm user(catalogue);
    sessions::UserForm twin(catalogue);
    twin.form.keepColumnRecords(true);
    settleUnchangedColumns(twin.form, catalogue);
    twin.form.keep();
    ByteChooser choose(data + split + 1, size - split - 1);
    ByteChooser twinChoose(data + split + 1, size - split - 1);
    while (choose.more()) {
        const std::string action = sessions::act(user, choose);
        const std::string broken = sessions::brokenPromise(user);
        if (!broken.empty()) {
            std::fprintf(stderr, "after %s: %s\n", action.c_str(), broken.c_str());
            std::abort();
        }
        if (action == "Reset") {
            twinChoose.below(100);  // the choice act() took
            twin.form.reset();
        } else if (sessions::act(twin, twinChoose) != action) {
            std::abort();
        }
        const int differs = sessions::firstDifference(user.form, twin.form);
        if (differs >= 0) {
            std::fprintf(stderr, "after %s: control %d differs from a full pass\n", action.c_str(), differs);
            std::abort();
        }
    }
    return 0;
}
