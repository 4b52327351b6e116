// Benchmark: median time of one recompute (with the placement rules) on a full enclosure.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue.h"
#include "form_model.h"
#include "labels.h"
#include "population.h"
#include "rules.h"

namespace {

constexpr int kRepetitions = 20000;

void place(FormModel& form, int id, const std::string& text) {
    const auto& entries = form.control(id).entries;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text) form.setSelection(id, static_cast<int>(i));
}

struct Result {
    double medianNs;
    std::size_t operations;
};

template <typename Pass>
Result measure(FormModel& form, Pass pass) {
    pass();  // settle the form: later passes see the same state
    form.resetCounts();
    pass();
    const std::size_t operations = form.operationCount();
    std::vector<double> times;
    times.reserve(kRepetitions);
    for (int i = 0; i < kRepetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pass();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::nano>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return {times[times.size() / 2], operations};
}

void report(const char* what, const Result& result, double baselineNs) {
    std::printf("%-52s median %8.0f ns  (%5.1f x baseline)  %4zu form operations\n", what,
                result.medianNs, result.medianNs / baselineNs, result.operations);
}

}  // namespace

int main() {
    CatalogueHooks hooks;
    hooks.fileName = "no such catalogue file.ini";
    BladeCatalogue catalogue;
    if (!loadCatalogue(catalogue, hooks)) return 1;

    FormModel empty;
    populateForm(empty, catalogue);

    // Fell in all sixteen bays: every bay labelled, 64 labels shown.
    FormModel fell;
    populateForm(fell, catalogue);
    for (int c = 0; c < ids::kColumns; ++c) {
        place(fell, ids::upperBay(c), "Fell");
        place(fell, ids::lowerBay(c), "Fell");
    }
    // Tarn-M2 in every upper bay under Windows: the order table and the full-height check.
    FormModel tarn;
    populateForm(tarn, catalogue);
    for (int c = 0; c < ids::kColumns; ++c) {
        place(tarn, ids::upperBay(c), "Tarn-M2");
        tarn.setSelection(ids::columnOs(c), OS_WINDOWS);
    }

    RecomputeChecks noChecks;
    const Result baseline = measure(empty, [&] { recomputeWithRules(empty, catalogue); });
    std::printf("recomputeEnclosure on the model form, %d repetitions each\n", kRepetitions);
    report("empty enclosure, rules (baseline)", baseline, baseline.medianNs);
    report("full enclosure, Fell in 16 bays, rules", measure(fell, [&] { recomputeWithRules(fell, catalogue); }),
           baseline.medianNs);
    report("full enclosure, Fell in 16 bays, label pass alone",
           measure(fell, [&] { recomputeEnclosure(fell, catalogue, noChecks); }), baseline.medianNs);
    report("full enclosure, Tarn-M2 in 8 upper bays, rules",
           measure(tarn, [&] { recomputeWithRules(tarn, catalogue); }), baseline.medianNs);
    return 0;
}
