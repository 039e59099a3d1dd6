#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace ritmova::ecg {

// What a record says about one of its channels.
struct ChannelName {
    std::string label;
    std::string transducer;
};

// The index of the channel `choice` names: a number counted from 1, else a label (exact, then
// ignoring case). With no choice, the first channel whose label or transducer says ECG or EKG
// (or names an ECG lead: MLII, V1, aVR...). Throws CommandFailure listing the channels (quoted
// safely) when none fits.
std::size_t ChooseChannel(std::span<const ChannelName> channels, std::string_view choice);

}  // namespace ritmova::ecg
