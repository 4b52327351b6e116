// Shared helpers of the mapper unit tests: catalogues, a populated model form, user actions.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "catalogue.h"
#include "commands.h"
#include "form_model.h"
#include "population.h"

namespace fixture {

inline BladeCatalogue builtInCatalogue() {
    CatalogueHooks hooks;
    hooks.fileName = "no such catalogue file.ini";
    BladeCatalogue catalogue;
    EXPECT_TRUE(loadCatalogue(catalogue, hooks));
    return catalogue;
}

// Loads the built-in rows followed by the lines of `content` written to a temporary file. The
// name holds the process id: CTest runs several tests of this program at once.
inline BladeCatalogue catalogueWithFile(const std::string& content) {
    static int serial = 0;
    const std::string path = ::testing::TempDir() + "mapper_fixture_" + std::to_string(::getpid()) +
                             "_" + std::to_string(serial++) + ".ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    CatalogueHooks hooks;
    hooks.fileName = path.c_str();
    // Tests copy catalogues freely; the fixture keeps the loaded ones and gives their rows back
    // when the test program ends.
    static std::vector<OwnedCatalogue> loaded;
    loaded.emplace_back();
    EXPECT_TRUE(loadCatalogue(loaded.back(), hooks));
    std::remove(path.c_str());
    return loaded.back();
}

// A model form populated from the catalogue, as start-up creates it.
struct Enclosure {
    explicit Enclosure(BladeCatalogue cat) : catalogue(cat) { populateForm(form, catalogue); }

    BladeCatalogue catalogue;
    FormModel form;
    int quitState = QUIT_RUNNING;

    // The user picks `text` in a selector: the selection changes, then the command arrives.
    // Fails the test when the selector is hidden, disabled or does not offer the text.
    void choose(int id, const std::string& text) {
        if (!form.control(id).visible || !form.control(id).enabled)
            ADD_FAILURE() << "selector " << id << " cannot be used";
        const auto& entries = form.control(id).entries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == text) {
                form.setSelection(id, static_cast<int>(i));
                runCommand(form, catalogue, id, kSelectionChanged, quitState);
                return;
            }
        ADD_FAILURE() << "selector " << id << " does not offer \"" << text << "\"";
    }
    void chooseBay(int bay, const std::string& text) { choose(bayId(bay), text); }
    // Selects `text` in a bay without a command, as the program's own changes do.
    void place(int bay, const std::string& text) {
        const auto& entries = form.control(bayId(bay)).entries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == text) return form.setSelection(bayId(bay), static_cast<int>(i));
        ADD_FAILURE() << "bay " << bay << " does not offer \"" << text << "\"";
    }
    void chooseEnclosure(const std::string& text) { choose(IDC_ENCLOSURE_TYPE, text); }
    void chooseDefaultOs(const std::string& text) { choose(IDC_DEFAULT_OS, text); }
    void chooseColumnOs(int column, const std::string& text) { choose(ids::columnOs(column), text); }
    bool press(int id) { return runCommand(form, catalogue, id, 0, quitState); }

    static int bayId(int bay) { return bay <= 8 ? ids::upperBay(bay - 1) : ids::lowerBay(bay - 9); }
    std::string bayText(int bay) const { return form.selectedText(bayId(bay)); }
    bool bayEnabled(int bay) const { return form.control(bayId(bay)).enabled; }
    // Column OS selector: its selection and whether it is enabled, e.g. "1 on", "-1 off".
    std::string columnOs(int column) const {
        const Control& os = form.control(ids::columnOs(column));
        return std::to_string(os.selection) + (os.enabled ? " on" : " off");
    }
    // Visible labels of rows [firstRow, lastRow] of a column, top down, joined by "; ".
    std::string labels(int column, int firstRow = 0, int lastRow = ids::kLabelRows - 1) const {
        std::string joined;
        for (int row = firstRow; row <= lastRow; ++row) {
            const Control& label = form.control(ids::label(row, column));
            if (!label.visible) continue;
            if (!joined.empty()) joined += "; ";
            joined += label.text;
        }
        return joined;
    }
    // Row numbers of the visible labels of a column, e.g. "0 1 4".
    std::string shownRows(int column) const {
        std::string rows;
        for (int row = 0; row < ids::kLabelRows; ++row)
            if (form.control(ids::label(row, column)).visible)
                rows += (rows.empty() ? "" : " ") + std::to_string(row);
        return rows;
    }
    const Control& message() const { return form.control(IDC_MESSAGE); }
};

// Identifiers of the controls whose state differs between two forms.
inline std::vector<int> differences(const FormModel& a, const FormModel& b) {
    std::vector<int> ids;
    for (const Control& x : a.controls()) {
        const Control& y = b.control(x.id);
        if (x.text != y.text || x.visible != y.visible || x.enabled != y.enabled ||
            x.entries != y.entries || x.selection != y.selection)
            ids.push_back(x.id);
    }
    return ids;
}

}  // namespace fixture
