#include "profile_file.h"

#include "profile_format.h"
#include "text/ansi_literals.h"
#include "text/text.h"

namespace orvane {

namespace {

std::string SkipLeadingControl(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= 0x20) {
        ++at;
    }
    return text.substr(at);
}

std::string WithoutTrailingSpaces(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

// Cut to the limit without splitting a double-byte character.
std::string CutToLimit(const std::string& value) {
    size_t end = 0;
    while (end < value.size()) {
        size_t next = end + (IsLeadByte(value[end]) ? 2 : 1);
        if (next > kProfileValueLimit) {
            break;
        }
        end = next;
    }
    return value.substr(0, std::min(end, value.size()));
}

} // namespace

Result<std::optional<DecodedText>> ReadProfileText(const std::string& file) {
    Result<FileBytes> read = ReadRegularFile(file, kProfileFileLimit);
    if (!read) {
        return Failure{read.Reason()};
    }
    return *read ? std::optional(DecodeProfileText(**read)) : std::nullopt;
}

Result<> ReplaceProfileText(const std::string& file, const DecodedText& text) {
    if (!text.sure) {
        return Failure{"文件里一半的栏目名像 UTF-8，一半像 GBK，无法判断文件的编码；"
                       "为免弄乱文件，没有写入。请用记事本把它另存为 UTF-8 或 ANSI 编码"};
    }
    RemoveStaleSaves(file);
    return ReplaceFileContent(file, EncodeText(text));
}

void RemoveStaleSaves(const std::string& file) {
    for (const std::string& temporary : TemporariesOf(file)) {
        Result<FileBytes> read = ReadRegularFile(temporary, kProfileFileLimit);
        if (read && *read && IsProfileText(DecodeProfileText(**read).text)) {
            RemoveFile(temporary); // one left is tried again at the next save
        }
    }
}

Result<std::optional<ProfileItems>> ReadProfileFile(const std::string& file) {
    Result<std::optional<DecodedText>> read = ReadProfileText(file);
    if (!read) {
        return Failure{read.Reason()};
    }
    return *read ? std::optional(ProfileItems((*read)->text)) : std::nullopt;
}

std::string ReadProfileItem(const std::string& file, const std::string& section,
                            const std::string& key, const std::optional<std::string>& fallback) {
    std::string path = SkipLeadingControl(file);
    if (path.empty()) {
        return {};
    }
    return ProfileItemIn(ReadProfileFile(path).ValueOr(std::nullopt), section, key, fallback);
}

std::string ProfileItemIn(const std::optional<ProfileItems>& items, const std::string& section,
                          const std::string& key, const std::optional<std::string>& fallback) {
    std::string sectionName = SkipLeadingControl(section);
    std::string keyName = SkipLeadingControl(key);
    if (sectionName.empty() || keyName.empty()) {
        return {};
    }
    std::string otherwise = WithoutTrailingSpaces(fallback.value_or(std::string()));
    if (!items) {
        return CutToLimit(otherwise);
    }
    std::string value = items->Find(sectionName, keyName).value_or(otherwise);
    return CutToLimit(value.substr(0, value.find('\0'))); // texts end at their first zero byte
}

Result<> WriteProfileItem(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value) {
    return WriteProfileItems(file, {{section, key, value}});
}

Result<> WriteProfileItems(const std::string& file, const std::vector<ProfileItem>& items) {
    std::vector<ProfileItem> written;
    for (const ProfileItem& item : items) {
        if (!FitsOneLine(item.section) || !FitsOneLine(item.key) || !FitsOneLine(item.value)) {
            return Failure{"内容含有换行符或空字符，不能写入文件"};
        }
        written.push_back({item.section, item.key, ProfileValueText(item.value)});
    }
    Result<std::optional<DecodedText>> old = ReadProfileText(file);
    if (!old) {
        return Failure{old.Reason()}; // a file that is there but unreadable is never replaced
    }
    DecodedText text = old->value_or(DecodedText{});
    text.text = SetProfileValues(text.text, written);
    return ReplaceProfileText(file, text);
}

} // namespace orvane
