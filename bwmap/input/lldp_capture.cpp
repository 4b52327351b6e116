// Captures of lldpcli's JSON output, in its two shapes, turned into one neighbour list.
//
// -f json writes a single item as the object itself and several as an array of objects, keys
// interfaces and chassis by their names, and writes plain values as strings. -f json0 wraps
// every item in an array and every value in {"value": ...}, and names interfaces and chassis in
// a "name" member. Both are read through the same accessors, which accept either form.
#include "input/lldp_capture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <nlohmann/json.hpp>

#include "base/file_access.h"

namespace {

using Json = nlohmann::json;

constexpr std::size_t kMaxCaptureSize = 16u << 20;
// lldpcli nests a dozen levels at most; the readers below recurse once a level.
constexpr int kMaxCaptureDepth = 64;
struct TooDeep {};

// An array's elements, or the value itself.
std::vector<const Json*> elements(const Json& value) {
    std::vector<const Json*> out;
    if (value.is_array())
        for (const Json& element : value) out.push_back(&element);
    else
        out.push_back(&value);
    return out;
}

// A member's items: an array's elements, or the object itself.
std::vector<const Json*> items(const Json& value) {
    std::vector<const Json*> out;
    if (value.is_array()) {
        for (const Json& element : value)
            if (element.is_object()) out.push_back(&element);
    } else if (value.is_object()) {
        out.push_back(&value);
    }
    return out;
}

const Json* member(const Json& object, const char* name) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

// A plain value: a string, {"value": ...} or an array holding one of them.
std::string text(const Json* value) {
    if (value == nullptr) return {};
    if (value->is_string()) return value->get<std::string>();
    if (value->is_number() || value->is_boolean()) return value->dump();
    if (value->is_array()) return value->empty() ? std::string() : text(&value->front());
    return text(member(*value, "value"));
}

const Json* first(const Json* value) {
    if (value == nullptr) return nullptr;
    const std::vector<const Json*> list = items(*value);
    return list.empty() ? nullptr : list.front();
}

// The neighbour of one interface entry. `name` is the interface for -f json, empty for json0.
LldpNeighbour neighbourOf(const std::string& name, const Json& entry) {
    LldpNeighbour n;
    n.interface = name.empty() ? text(member(entry, "name")) : name;
    if (const Json* chassis = member(entry, "chassis")) {
        if (chassis->is_array()) {
            if (const Json* one = first(chassis)) n.chassisName = text(member(*one, "name"));
        } else if (chassis->is_object() && chassis->size() == 1 && chassis->begin().value().is_object() &&
                   chassis->begin().key() != "id") {
            // -f json keys a named chassis by its name; an unnamed one is the bare object.
            n.chassisName = chassis->begin().key();
        }
    }
    if (const Json* port = first(member(entry, "port"))) {
        if (const Json* id = first(member(*port, "id"))) {
            n.portIdType = text(member(*id, "type"));
            n.portId = text(member(*id, "value"));
        }
        n.portDescription = text(member(*port, "descr"));
    }
    return n;
}

// Why an interface list is not one; empty when it is. `json0`: entries carry their names.
std::string readInterfaces(const Json& list, bool json0, std::vector<LldpNeighbour>& out) {
    if (!list.is_object() && !list.is_array()) return "\"interface\" is neither an object nor an array";
    for (const Json* item : elements(list)) {
        if (!item->is_object()) return "an \"interface\" item is not an object";
        if (json0) {
            out.push_back(neighbourOf({}, *item));
            continue;
        }
        for (const auto& named : item->items()) {
            if (!named.value().is_object()) return "interface \"" + named.key() + "\" is not an object";
            out.push_back(neighbourOf(named.key(), named.value()));
        }
    }
    return {};
}

}  // namespace

bool parseLldpCapture(const std::string& text, std::vector<LldpNeighbour>& neighbours, std::string& error) {
    neighbours.clear();
    Json root;
    try {
        root = Json::parse(text, [](int depth, Json::parse_event_t event, Json&) {
            if (depth >= kMaxCaptureDepth &&
                (event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start))
                throw TooDeep();
            return true;
        });
    } catch (const TooDeep&) {
        error = "not a capture: nested deeper than " + std::to_string(kMaxCaptureDepth) + " levels";
        return false;
    } catch (const Json::parse_error& e) {
        std::string what = e.what();
        const std::size_t close = what.find("] ");
        error = "not JSON: " + (close == std::string::npos ? what : what.substr(close + 2));
        return false;
    }
    const Json* lldp = member(root, "lldp");
    if (lldp == nullptr || (!lldp->is_object() && !lldp->is_array())) {
        error = "not an LLDP neighbour listing: it has no \"lldp\" object (take it with lldpcli -f json show neighbors)";
        return false;
    }
    for (const Json* part : elements(*lldp)) {
        if (!part->is_object()) {
            error = "not an LLDP neighbour listing: an \"lldp\" item is not an object";
            return false;
        }
        const Json* list = member(*part, "interface");
        if (list == nullptr) continue;
        error = readInterfaces(*list, lldp->is_array(), neighbours);
        if (!error.empty()) {
            error = "not an LLDP neighbour listing: " + error;
            neighbours.clear();
            return false;
        }
    }
    return true;
}

CaptureRead readLldpCapture(const std::string& path, std::vector<LldpNeighbour>& neighbours, std::string& error) {
    neighbours.clear();
    const PathKind kind = pathKind(path);
    if (kind == PathKind::MISSING) return CaptureRead::MISSING;
    // A folder, a pipe or a device would block the run or never end; only files are read.
    if (kind == PathKind::FOLDER || kind == PathKind::OTHER) {
        error = kind == PathKind::FOLDER ? folderNotFile(path) : path + ": not a file";
        return CaptureRead::FAILED;
    }
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) {
        if (errno == ENOENT) return CaptureRead::MISSING;
        error = path + ": " + std::strerror(errno);
        return CaptureRead::FAILED;
    }
    std::string text;
    char buffer[1 << 14];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() <= kMaxCaptureSize) text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (failed) {
        error = path + ": " + std::strerror(readErrno);
        return CaptureRead::FAILED;
    }
    if (text.size() > kMaxCaptureSize) {
        error = path + ": larger than " + std::to_string(kMaxCaptureSize >> 20) + " MiB, not a capture";
        return CaptureRead::FAILED;
    }
    if (!parseLldpCapture(text, neighbours, error)) {
        error = path + ": " + error;
        return CaptureRead::FAILED;
    }
    return CaptureRead::OK;
}
