#include "report/markov_text.h"

#include "common/number_text.h"

namespace ritmova {
namespace {

std::string decimal3(float value) {
    return FormatNumber(value, "0.000");
}
std::string count(std::int16_t value) {
    return FormatNumber(value, "000");
}
std::string share(float value) {
    return FormatNumber(value, " (.000)");
}
std::string cell(float value) {
    return FormatNumber(value, "    .000");
}

std::string stateTail(const MarkovResult& r, std::size_t code) {
    return count(r.counts[code]) + share(r.probabilities[code]);
}

void appendStateLines(std::string& text, const MarkovResult& r) {
    const std::string low = decimal3(r.limitLow);
    const std::string mid = decimal3(r.limitMid);
    const std::string high = decimal3(r.limitHigh);
    text += "State 1 - RR <" + low + "      sec: " + stateTail(r, 0) + "\r\n";
    text += "State 2 - RR " + low + "-" + mid + " sec: " + stateTail(r, 1) + "\r\n";
    text += "State 3 - RR " + mid + "-" + high + " sec: " + stateTail(r, 2) + "\r\n";
    text += "State 4 - RR >" + high + "      sec: " + stateTail(r, 3) + "\r\n\r\n";
}

void appendTransitionTable(std::string& text, const MarkovResult& r) {
    text += "from   to State 1 State 2 State 3 State 4\r\n";
    for (std::size_t from = 0; from < 4; ++from) {
        text += "State " + std::to_string(from + 1);
        for (float q : r.transitionProbabilities[from]) text += cell(q);
        text += "\r\n";
    }
}

}  // namespace

std::string MarkovPanelText(const MarkovResult& r) {
    std::string text = "Zero-memory Markov process\r\n";
    appendStateLines(text, r);
    text += "H0: " + decimal3(r.h0) + " bits/symbol\r\n\r\n";
    text += "First-order Markov process\r\n";
    text += "State transition probability table\r\n\r\n";
    appendTransitionTable(text, r);
    text += "\r\nH1: " + decimal3(r.h1) + " bits/symbol\r\n\r\n";
    if (r.nakahamaIndex) text += "Nakahama index: " + decimal3(*r.nakahamaIndex);
    return text;
}

}  // namespace ritmova
