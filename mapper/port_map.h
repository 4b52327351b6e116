// The port map: the labels a form shows, one row per label, with the bay and type behind each.
#pragma once

#include <string>
#include <vector>

#include "catalogue.h"
#include "form.h"
#include "form_model.h"

// What a port map reads of a form beyond the form operations: the state its controls show.
class ShownForm {
public:
    virtual ~ShownForm() = default;
    virtual bool shown(int id) = 0;     // the control's own visible flag
    virtual bool enabled(int id) = 0;
    virtual std::string text(int id) = 0;  // a static's text
};

// The in-memory form's controls as the port map reads them.
class ShownModel : public ShownForm {
public:
    explicit ShownModel(const FormModel& form) : form_(form) {}
    bool shown(int id) override { return form_.control(id).visible; }
    bool enabled(int id) override { return form_.control(id).enabled; }
    std::string text(int id) override { return form_.control(id).text; }

private:
    const FormModel& form_;
};

struct PortMapRow {
    int bay = 0;             // 1-16: the bay whose labelling wrote the label
    std::string type;        // that bay's selected entry text
    std::string os;          // the column OS selector's text when it is enabled, else empty
    std::string switchPort;  // the label up to its first ", "
    std::string nic;         // the rest: "NIC B", "MGT"
};

// Every shown label, column 1 to 8, rows from the top. A label in the fifth row or below belongs
// to the lower bay when the lower bay's blade wrote it (its first labels, from the fifth row);
// every other label to the upper bay.
std::vector<PortMapRow> readPortMap(EnclosureForm& form, ShownForm& shown, const BladeCatalogue& catalogue);

// Column names of the map, in order.
extern const char* const kPortMapColumns[5];

// The map as tab-separated text: the header line, then one line per row, each ended by
// `lineEnd`. With a first column (its name, and each row's field) it comes before the others.
// Tabs and line ends inside a field become blanks, a NUL byte '?'.
void appendPortMapTsvHeader(std::string& out, const char* firstColumn, const char* lineEnd);
void appendPortMapTsv(std::string& out, const std::vector<PortMapRow>& rows, const std::string* firstField,
                      const char* lineEnd);
