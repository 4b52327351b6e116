// A session's enclosure handed to the receiver of the run.
#include "enclosure/mapped_enclosure.h"

#include <optional>

#include "enclosure/session.h"

std::string writeEnclosure(MapWriter& writer, EnclosureSession& session, const std::string* name, std::string& out,
                           const EnclosureNames* names, const ExtraColumns* extra, long line) {
    MappedEnclosure mapped;
    mapped.name = name;
    mapped.line = line;
    mapped.names = names;
    mapped.extra = extra;
    mapped.enclosure = session.enclosureText();
    mapped.defaultOs = session.defaultOsText();
    mapped.rows = session.portMap();
    std::optional<EnclosureView> view;  // some hundred strings: made only for a writer that draws
    if (writer.drawsEnclosure()) {
        view.emplace(session.view());
        mapped.view = &*view;
    }
    std::string refused = writer.refuse(mapped);
    if (refused.empty()) writer.write(out, mapped);
    return refused;
}
