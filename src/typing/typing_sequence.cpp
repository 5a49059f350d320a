#include "typing_sequence.h"

#include "applicants/group_names.h"
#include "text/text.h"
#include "typing_texts.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace orvane {

namespace {

std::optional<SequenceStep> StepNamed(const std::string& name) {
    if (std::find(kFieldKeys.begin(), kFieldKeys.end(), name) != kFieldKeys.end()) {
        return SequenceStep{SequenceStep::Kind::Field, name};
    }
    std::string upper = ToUpperCase(name);
    if (upper == "TAB") {
        return SequenceStep{SequenceStep::Kind::Tab, {}};
    }
    if (upper == "ENTER") {
        return SequenceStep{SequenceStep::Kind::Enter, {}};
    }
    return std::nullopt;
}

void AddText(std::vector<SequenceStep>& steps, const std::string& text) {
    if (text.empty()) {
        return;
    }
    if (!steps.empty() && steps.back().kind == SequenceStep::Kind::Text) {
        steps.back().text += text;
    } else {
        steps.push_back({SequenceStep::Kind::Text, text});
    }
}

// The first `brace` from `at` that is a character of its own: a GB18030
// character's second byte may have the brace's value.
size_t FindBrace(const std::string& text, size_t at, char brace) {
    for (; at < text.size(); at += CharacterLength(text, at)) {
        if (text[at] == brace) {
            return at;
        }
    }
    return std::string::npos;
}

} // namespace

Result<std::vector<SequenceStep>> ParseSequence(const std::string& sequence) {
    if (sequence.size() > kSequenceLimit) {
        return Failure{LongSequenceText(sequence.size(), kSequenceLimit)};
    }
    std::vector<SequenceStep> steps;
    size_t at = 0;
    while (at < sequence.size()) {
        size_t open = FindBrace(sequence, at, '{');
        AddText(steps, sequence.substr(at, open - at));
        if (open == std::string::npos) {
            break;
        }
        size_t close = FindBrace(sequence, open, '}');
        if (close == std::string::npos) {
            return Failure{MissingBraceText(sequence.substr(open))};
        }
        std::string name = sequence.substr(open + 1, close - open - 1);
        std::optional<SequenceStep> step = StepNamed(name);
        if (!step) {
            return Failure{UnknownNameText(name)};
        }
        steps.push_back(*step);
        at = close + 1;
    }
    if (FieldsOf(steps).empty()) {
        return Failure{NoFieldText()};
    }
    return steps;
}

std::vector<std::string> FieldsOf(const std::vector<SequenceStep>& steps) {
    std::vector<std::string> fields;
    for (const SequenceStep& step : steps) {
        if (step.kind == SequenceStep::Kind::Field &&
            std::find(fields.begin(), fields.end(), step.text) == fields.end()) {
            fields.push_back(step.text);
        }
    }
    return fields;
}

std::vector<SequenceStep> FilledSteps(const std::vector<SequenceStep>& steps,
                                      const std::function<std::string(const std::string&)>& field) {
    std::vector<SequenceStep> filled;
    for (const SequenceStep& step : steps) {
        if (step.kind == SequenceStep::Kind::Field) {
            AddText(filled, field(step.text));
        } else if (step.kind == SequenceStep::Kind::Text) {
            AddText(filled, step.text);
        } else {
            filled.push_back(step);
        }
    }
    return filled;
}

std::vector<std::string> BoxNames(const std::vector<SequenceStep>& steps) {
    std::vector<std::string> names(1);
    for (const SequenceStep& step : steps) {
        if (step.kind == SequenceStep::Kind::Tab || step.kind == SequenceStep::Kind::Enter) {
            names.emplace_back();
        } else if (step.kind == SequenceStep::Kind::Field) {
            names.back() = JoinedName(names.back(), step.text);
        }
    }
    for (size_t box = 0; box < names.size(); ++box) {
        if (names[box].empty()) {
            names[box] = UnnamedBoxText(box + 1);
        }
    }
    return names;
}

} // namespace orvane
