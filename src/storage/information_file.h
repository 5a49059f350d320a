#pragma once

#include "applicants/applicants.h"

#include <optional>
#include <string>

namespace orvane {

// "信息.ini" beside the program, whatever the current directory.
std::string InformationFilePath();

// The file text of a save: sections "第一组" … "第二十五组", each with the
// keys 姓名, 身份证 and 手机号 in that order, values as they are, CR LF line
// ends, and nothing else (the remember flag goes with the rest).
std::string ApplicantsFileText(const Applicants& applicants);

// Replaces the file with the applicants in one atomic step. Returns why it
// failed, in words for the user, or nothing; on failure the old file stays.
std::optional<std::string> WriteApplicants(const std::string& file, const Applicants& applicants);

// What one read of the file gave.
struct InformationRead {
    Applicants applicants; // a missing section or key gives an empty field
    bool remember = true;  // the remember flag, true when the file has none
    // Why a file that is there could not be read; everything else is then
    // as for a missing file.
    std::optional<std::string> failure;
};

// Reads the file once: only a regular file of at most kProfileFileLimit
// bytes, without ever waiting on a pipe or a device.
InformationRead ReadInformationFile(const std::string& file);

} // namespace orvane
