#pragma once

#include <string>

#include "measures/markov.h"

namespace ritmova {

// The Markov panel's text (20 lines, no final line break): the states with their limits,
// counts and probabilities, H0, the transition probability table, H1 and the Nakahama index.
// Without a Nakahama index it ends after the H1 line's empty line, as far as it can go.
std::string MarkovPanelText(const MarkovResult& result);

}  // namespace ritmova
