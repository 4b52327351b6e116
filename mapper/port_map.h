// The port map: the labels a form shows, one row per label, with the bay and type behind each.
#pragma once

#include <deque>
#include <string>
#include <string_view>
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
    // A static's text; the view stays valid until the next call on this object.
    virtual std::string_view text(int id) = 0;
};

// The in-memory form's controls as the port map reads them.
class ShownModel final : public ShownForm {
public:
    explicit ShownModel(const FormModel& form) : form_(form) {}
    bool shown(int id) override { return form_.control(id).visible; }
    bool enabled(int id) override { return form_.control(id).enabled; }
    std::string_view text(int id) override { return form_.control(id).text; }

private:
    const FormModel& form_;
};

// One label of the map. The texts are views: of the in-memory form's own texts, which stand
// until the form next changes, or of the texts a PortMap keeps.
struct PortMapRow {
    int bay = 0;                  // 1-16: the bay whose labelling wrote the label
    std::string_view type;        // that bay's selected entry text
    std::string_view os;          // the column OS selector's text when it is enabled, else empty
    std::string_view switchPort;  // the label up to its first ", "
    std::string_view nic;         // the rest: "NIC B", "MGT"
};

// Port map rows held elsewhere (the session's, a filter's), read in place.
class PortMapRows {
public:
    PortMapRows() = default;
    // The vector must outlive the view and stay unchanged while it is read.
    PortMapRows(const std::vector<PortMapRow>& rows) : data_(rows.data()), size_(rows.size()) {}
    const PortMapRow* begin() const { return data_; }
    const PortMapRow* end() const { return data_ + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const PortMapRow& operator[](std::size_t i) const { return data_[i]; }

private:
    const PortMapRow* data_ = nullptr;
    std::size_t size_ = 0;
};

// Rows with copies of their texts, for a form whose texts do not stand still (a window's). The
// copies do not move when the map does.
struct PortMap {
    std::vector<PortMapRow> rows;
    std::deque<std::string> texts;
    operator PortMapRows() const { return rows; }
};

// Every shown label, column 1 to 8, rows from the top. A label in the fifth row or below belongs
// to the lower bay when the lower bay's blade wrote it (its first labels, from the fifth row);
// every other label to the upper bay.
PortMap readPortMap(EnclosureForm& form, ShownForm& shown, const BladeCatalogue& catalogue);
// The same from the in-memory form into `rows`, whose storage is reused: a caller that maps many
// enclosures keeps one vector. The rows view the form's texts, read without virtual calls.
void readPortMap(FormModel& form, ShownModel& shown, const BladeCatalogue& catalogue, std::vector<PortMapRow>& rows);

// Column names of the map, in order.
extern const char* const kPortMapColumns[5];

// The map as tab-separated text: the header line, then one line per row, each ended by
// `lineEnd`. With a first column (its name, and each row's field) it comes before the others.
// Tabs and line ends inside a field become blanks, a NUL byte '?'.
void appendPortMapTsvHeader(std::string& out, const char* firstColumn, const char* lineEnd);
void appendPortMapTsv(std::string& out, PortMapRows rows, const std::string* firstField,
                      const char* lineEnd);
