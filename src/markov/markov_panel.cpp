#include "markov/markov_panel.h"

#include "common/number_text.h"

namespace ritmova {
namespace {

std::string Decimal3(float value) {
    return FormatNumber(value, "0.000");
}
std::string Count(std::int16_t value) {
    return FormatNumber(value, "000");
}
std::string Share(float value) {
    return FormatNumber(value, " (.000)");
}
std::string Cell(float value) {
    return FormatNumber(value, "    .000");
}

std::string stateTail(const AnalysisState& s, std::size_t code) {
    return Count(s.StateCount[code]) + Share(s.StateProbability[code]);
}

}  // namespace

void MarkovPanel::set(const std::string& text) {
    window_.setLabelCaption(LabelId::Label5, text);
}

void MarkovPanel::append(const std::string& piece) {
    window_.setLabelCaption(LabelId::Label5, window_.labelCaption(LabelId::Label5) + piece);
}

void MarkovPanel::clear() {
    set("");
}

void MarkovPanel::appendStateLines(const AnalysisState& s) {
    const std::string low = Decimal3(s.StateLimitLow);
    const std::string mid = Decimal3(s.StateLimitMid);
    const std::string high = Decimal3(s.StateLimitHigh);
    append("State 1 - RR <" + low + "      sec: " + stateTail(s, 0) + "\r\n");
    append("State 2 - RR " + low + "-" + mid + " sec: " + stateTail(s, 1) + "\r\n");
    append("State 3 - RR " + mid + "-" + high + " sec: " + stateTail(s, 2) + "\r\n");
    append("State 4 - RR >" + high + "      sec: " + stateTail(s, 3) + "\r\n\r\n");
}

void MarkovPanel::appendTransitionTable(const AnalysisState& s) {
    append("from   to State 1 State 2 State 3 State 4\r\n");
    for (std::size_t from = 0; from < 4; ++from) {
        append("State " + std::to_string(from + 1));
        for (float q : s.TransitionProbability[from]) append(Cell(q));
        append("\r\n");
    }
}

void MarkovPanel::writeFirstBlock(const AnalysisState& s) {
    set("Zero-memory Markov process\r\n");
    appendStateLines(s);
    append("H0: " + Decimal3(s.EntropyH0) + " bits/symbol\r\n\r\n");
    append("First-order Markov process\r\n");
    append("State transition probability table\r\n\r\n");
    appendTransitionTable(s);
}

void MarkovPanel::appendH1(const AnalysisState& s) {
    append("\r\nH1: " + Decimal3(s.EntropyH1) + " bits/symbol\r\n\r\n");
}

void MarkovPanel::appendNakahamaAndShow(const AnalysisState& s) {
    append("Nakahama index: " + Decimal3(s.NakahamaIndex));
    window_.setPanelVisible(true);
}

}  // namespace ritmova
