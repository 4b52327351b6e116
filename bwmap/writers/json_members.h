// Members that the JSON writers of both views share.
#pragma once

#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "writers/map_writer.h"

// The "columns" member of an enclosure: each further column of its plans row, name and cell, UTF-8.
inline void addExtraColumns(nlohmann::ordered_json& object, const MappedEnclosure& e) {
    if (!e.extra || e.extra->empty()) return;
    nlohmann::ordered_json columns = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < e.extra->names.size(); ++i)
        columns[inputToUtf8(e.extra->names[i])] = inputToUtf8(i < e.extra->values.size() ? e.extra->values[i] : "");
    object["columns"] = std::move(columns);
}
