#include "ecg/channel_choice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/field_text.h"

namespace ritmova::ecg {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool NamesEcgLead(std::string_view text) {
    static constexpr std::array<std::string_view, 20> Leads = {
        "i",  "ii", "iii", "avr",  "avl",   "avf", "v1",     "v2",      "v3",       "v4",
        "v5", "v6", "mli", "mlii", "mliii", "ml",  "lead i", "lead ii", "lead iii", "cm5"};
    std::string lower = Lower(TrimBlanks(text));
    if (lower.find("ecg") != std::string::npos || lower.find("ekg") != std::string::npos)
        return true;
    return std::find(Leads.begin(), Leads.end(), lower) != Leads.end();
}

std::string Listing(std::span<const ChannelName> channels) {
    constexpr std::size_t Shown = 20;
    std::string list;
    for (std::size_t i = 0; i < channels.size() && i < Shown; ++i) {
        if (i > 0) list += ", ";
        list += std::to_string(i + 1) + " " + QuotedToken(channels[i].label);
    }
    if (channels.size() > Shown)
        list += " and " + std::to_string(channels.size() - Shown) + " more";
    return channels.empty() ? "there are none" : "the channels are " + list;
}

std::optional<std::size_t> ByLabel(std::span<const ChannelName> channels, std::string_view name) {
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (TrimBlanks(channels[i].label) == name) return i;
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (Lower(TrimBlanks(channels[i].label)) == Lower(name)) return i;
    return std::nullopt;
}

}  // namespace

std::size_t ChooseChannel(std::span<const ChannelName> channels, std::string_view choice) {
    if (choice.empty()) {
        for (std::size_t i = 0; i < channels.size(); ++i)
            if (NamesEcgLead(channels[i].label) || NamesEcgLead(channels[i].transducer)) return i;
        throw CommandFailure("no channel says ECG or EKG; " + Listing(channels) +
                             "; choose one by number or label");
    }
    if (auto number = WholeInteger<std::size_t>(choice)) {
        if (*number >= 1 && *number <= channels.size()) return *number - 1;
    }
    if (auto index = ByLabel(channels, choice)) return *index;
    throw CommandFailure("no channel " + QuotedToken(choice) + "; " + Listing(channels));
}

}  // namespace ritmova::ecg
