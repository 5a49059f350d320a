#include "typing_sequence.h"

#include "applicants/group_names.h"
#include "text/text.h"
#include "typing_texts.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace orvane {

namespace {

std::optional<Stroke> StrokeNamed(const std::string& name) {
    if (std::find(kFieldKeys.begin(), kFieldKeys.end(), name) != kFieldKeys.end()) {
        return Stroke{Stroke::Kind::Field, name};
    }
    std::string upper = ToUpperCase(name);
    if (upper == "TAB") {
        return Stroke{Stroke::Kind::Tab, {}};
    }
    if (upper == "ENTER") {
        return Stroke{Stroke::Kind::Enter, {}};
    }
    return std::nullopt;
}

void AddText(std::vector<Stroke>& strokes, const std::string& text) {
    if (text.empty()) {
        return;
    }
    if (!strokes.empty() && strokes.back().kind == Stroke::Kind::Text) {
        strokes.back().text += text;
    } else {
        strokes.push_back({Stroke::Kind::Text, text});
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

Result<std::vector<Stroke>> ParseSequence(const std::string& sequence) {
    if (sequence.size() > kSequenceLimit) {
        return Failure{LongSequenceText(sequence.size(), kSequenceLimit)};
    }
    std::vector<Stroke> strokes;
    size_t at = 0;
    while (at < sequence.size()) {
        size_t open = FindBrace(sequence, at, '{');
        AddText(strokes, sequence.substr(at, open - at));
        if (open == std::string::npos) {
            break;
        }
        size_t close = FindBrace(sequence, open, '}');
        if (close == std::string::npos) {
            return Failure{MissingBraceText(sequence.substr(open))};
        }
        std::string name = sequence.substr(open + 1, close - open - 1);
        std::optional<Stroke> stroke = StrokeNamed(name);
        if (!stroke) {
            return Failure{UnknownNameText(name)};
        }
        strokes.push_back(*stroke);
        at = close + 1;
    }
    if (FieldsOf(strokes).empty()) {
        return Failure{NoFieldText()};
    }
    return strokes;
}

std::vector<std::string> FieldsOf(const std::vector<Stroke>& strokes) {
    std::vector<std::string> fields;
    for (const Stroke& stroke : strokes) {
        if (stroke.kind == Stroke::Kind::Field &&
            std::find(fields.begin(), fields.end(), stroke.text) == fields.end()) {
            fields.push_back(stroke.text);
        }
    }
    return fields;
}

std::vector<Stroke> FilledStrokes(const std::vector<Stroke>& strokes,
                                  const std::function<std::string(const std::string&)>& field) {
    std::vector<Stroke> filled;
    for (const Stroke& stroke : strokes) {
        if (stroke.kind == Stroke::Kind::Field) {
            AddText(filled, field(stroke.text));
        } else if (stroke.kind == Stroke::Kind::Text) {
            AddText(filled, stroke.text);
        } else {
            filled.push_back(stroke);
        }
    }
    return filled;
}

std::vector<std::string> BoxNames(const std::vector<Stroke>& strokes) {
    std::vector<std::string> names(1);
    for (const Stroke& stroke : strokes) {
        if (stroke.kind == Stroke::Kind::Tab || stroke.kind == Stroke::Kind::Enter) {
            names.emplace_back();
        } else if (stroke.kind == Stroke::Kind::Field) {
            names.back() = JoinedName(names.back(), stroke.text);
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
