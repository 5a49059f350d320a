#pragma once

#include "runtime/result.h"

#include <cstddef>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace orvane {

// What one press of the hot key types: fields of the group, keys between
// them, and any text written in the sequence itself.
struct SequenceStep {
    enum class Kind { Field, Tab, Enter, Text };
    Kind kind = Kind::Text;
    std::string text; // the field's key, or the text; ANSI
    bool operator==(const SequenceStep&) const = default;
};

inline const std::string kDefaultSequence = "{姓名}{TAB}{身份证}{TAB}{手机号}";
// The longest sequence, in ANSI bytes.
inline constexpr size_t kSequenceLimit = 255;

// The steps a sequence names: "{姓名}", "{身份证}", "{手机号}", "{TAB}" and
// "{ENTER}" (key names in any case), text elsewhere as it stands. A "{…}"
// of anything else, a "{" without its "}", a sequence without a field (a
// press would type nothing of the group) or one longer than the limit is
// refused with a message for the user that names it.
Result<std::vector<SequenceStep>> ParseSequence(const std::string& sequence);

// The field keys the steps name, each once, in order.
std::vector<std::string> FieldsOf(const std::vector<SequenceStep>& steps);

// The steps with each field replaced by its text from `field` (key to
// text): what is typed, text and key steps only. An empty field types
// nothing.
std::vector<SequenceStep> FilledSteps(const std::vector<SequenceStep>& steps,
                                      const std::function<std::string(const std::string&)>& field);

// What each box of the form gets, as the user calls it: the fields of the
// sequence between one {TAB} or {ENTER} and the next, joined by "、", or,
// where only text of the sequence goes, its place ("第2个输入框").
std::vector<std::string> BoxNames(const std::vector<SequenceStep>& steps);

} // namespace orvane
