// The port lookup (--find) and the shared-port warning, on the way to the format's writer.
#include "views/switch_view.h"

#include <cctype>
#include <utility>

#include "base/char_writer.h"
#include "enclosure/switch_order.h"
#include "input/picks.h"

bool parsePortQuery(const std::string& text, PortQuery& query, std::string& error) {
    const std::size_t colon = text.rfind(':');
    char letter = 0;
    int port = 0;
    if (colon != std::string::npos && colon > 0 && splitSwitchPort("A-" + text.substr(colon + 1), letter, port)) {
        query = {0, text.substr(0, colon), port};
        return true;
    }
    if (colon == std::string::npos && splitSwitchPort(text, letter, port)) {
        query = {letter, {}, port};
        return true;
    }
    error = "--find: \"" + printable(text) + "\" is not a switch port: write A-7 (switch and port) or NAME:7";
    return false;
}

SwitchPortFilter::SwitchPortFilter(std::unique_ptr<MapWriter> inner, const PortQuery* query, std::size_t* found,
                                   std::FILE* err, OutputSink* notes, bool* unknownName)
    : inner_(std::move(inner)), hasQuery_(query != nullptr), err_(err), notes_(notes), found_(found),
      unknownName_(unknownName) {
    if (query) query_ = *query;
}

void SwitchPortFilter::begin(std::string& out) {
    if (hasQuery_ && query_.letter == 0) return;
    inner_->begin(out);
    begun_ = true;
}

void SwitchPortFilter::end(std::string& out) {
    if (hasQuery_ && query_.letter == 0 && !nameSeen_) {
        std::string message = "bwmap: --find " + printable(query_.name) + ":" + std::to_string(query_.port) +
                              ": no switch is named " + printable(query_.name);
        if (switchNames_.empty()) message += ": no switch has a name (switchA=NAME, or a switchA column)";
        else {
            message += "; the switches are named ";
            for (std::size_t i = 0; i < switchNames_.size(); ++i)
                message += (i > 0 ? ", " : "") + printable(switchNames_[i]);
            if (moreNames_) message += " and more";
        }
        message += "\n";
        if (notes_) notes_->note(message);
        else std::fputs(message.c_str(), err_);
        if (unknownName_) *unknownName_ = true;
        return;
    }
    if (!begun_) inner_->begin(out);
    begun_ = true;
    inner_->end(out);
}

namespace {

constexpr std::size_t kNamesShown = 8;

// `text` as printable() shows it.
void putPrintable(CharWriter& out, std::string_view text) {
    for (const char ch : text) out.put(printableByte(ch));
}

}  // namespace

void SwitchPortFilter::write(std::string& out, const MappedEnclosure& enclosure) {
    // The enclosure's warnings leave together: the error stream is unbuffered.
    labelsBySwitch(enclosure.rows, labels_);
    warnings_.clear();
    prefix_.clear();
    for (std::size_t i = 1; i < labels_.size(); ++i) {
        const SwitchLabel& a = labels_[i - 1];
        const SwitchLabel& b = labels_[i];
        if (a.port == 0 || a.port != b.port || a.key != b.key) continue;
        if (prefix_.empty()) {
            prefix_ = "bwmap: warning: ";
            if (enclosure.name) {
                prefix_ += printable(*enclosure.name);
                prefix_ += ": ";
            }
        }
        // The line is made in place, its room made once: the texts and numbers, and 53 bytes of words.
        const std::size_t start = warnings_.size();
        warnings_.resize(start + prefix_.size() + a.row->switchPort.size() + a.row->nic.size() + b.row->nic.size() +
                         2 * CharWriter::kNumberRoom + 64);
        CharWriter line(&warnings_[start]);
        line.put(prefix_).put("switch port ");
        putPrintable(line, a.row->switchPort);
        line.put(" carries two labels: bay ").number(a.row->bay).put(" (");
        putPrintable(line, a.row->nic);
        line.put(") and bay ").number(b.row->bay).put(" (");
        putPrintable(line, b.row->nic);
        line.put(")\n");
        warnings_.resize(static_cast<std::size_t>(line.end() - warnings_.data()));
    }
    if (!warnings_.empty()) {
        if (notes_) notes_->note(warnings_);
        else std::fwrite(warnings_.data(), 1, warnings_.size(), err_);
    }
    if (!hasQuery_) return inner_->write(out, enclosure);

    std::vector<char> letters;
    if (query_.letter != 0) letters.push_back(query_.letter);
    else if (enclosure.names) {
        letters = enclosure.names->switchesNamed(query_.name);
        nameSeen_ = nameSeen_ || !letters.empty();
        for (const auto& named : enclosure.names->switches()) {
            if (nameSeen_ || moreNames_) break;
            bool known = false;
            for (const std::string& name : switchNames_) known = known || isSameHost(name, named.second);
            if (known) continue;
            if (switchNames_.size() == kNamesShown) moreNames_ = true;
            else switchNames_.push_back(named.second);
        }
    }
    keptRows_.clear();
    for (const PortMapRow& row : enclosure.rows) {
        char letter;
        int port;
        if (!splitSwitchPort(row.switchPort, letter, port) || port != query_.port) continue;
        for (char wanted : letters)
            if (switchKey(letter) == switchKey(wanted)) {
                keptRows_.push_back(row);
                break;
            }
    }
    *found_ += keptRows_.size();
    if (keptRows_.empty()) return;
    if (!begun_) inner_->begin(out);
    begun_ = true;
    MappedEnclosure kept = enclosure;
    kept.rows = keptRows_;
    inner_->write(out, kept);
}
