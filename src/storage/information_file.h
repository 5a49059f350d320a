#pragma once

#include "applicants/applicants.h"
#include "page_settings.h"
#include "runtime/result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// "信息.ini" beside the program, whatever the current directory; for a
// program installed in a system folder, in the user's data folder
// (DataDirectory).
std::string InformationFilePath();
// A 信息.ini beside the program that the user may not read, passed over for
// their own, with why; empty when none was.
std::string InformationFilePassedOver();

// The file text of a save over the old text: the items 姓名, 身份证 and 手机号
// of sections "第一组" … "第二十五组" set, every other byte kept. From an
// empty text: the 25 sections with their keys in that order, CR LF line
// ends. Values are quoted only where they would not read back exactly.
std::string ApplicantsFileText(const Applicants& applicants, const std::string& old = "");

// Makes the folder of the file when it is the user's data folder (an
// installed program's) and no save has made it yet, and keeps it private to
// its owner.
void MakeInformationFolder(const std::string& file);

// Stores the applicants in the file in one atomic step, keeping every other
// section and key (the remember flag, and what the program does not know).
// Refuses, writing nothing, a field with a line break or a NUL, and a file
// that is there but cannot be read. On failure the old file stays.
Result<> WriteApplicants(const std::string& file, const Applicants& applicants);

// What one read of the file gave; a missing file gives the defaults.
struct InformationRead {
    Applicants applicants; // a missing section or key gives an empty field
    bool remember = true;  // the remember flag, true when the file has none
    PageSettings settings; // the 配置 page's, defaults for those missing
    // The lines that do not read in the file's encoding, from 1: read as
    // well as they can be, and kept as they are.
    std::vector<std::size_t> keptLines;
};

// Reads the file once, applicants and settings: only a regular file of at most kProfileFileLimit
// bytes, without ever waiting on a pipe or a device.
Result<InformationRead> ReadInformationFile(const std::string& file);

} // namespace orvane
