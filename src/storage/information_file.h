#pragma once

#include <string>
#include <vector>

class MainWindow;

// "信息.ini" beside the program, whatever the current directory.
std::string InformationFilePath();

// Stores the 75 applicant fields as they are now: sections "第一组" …
// "第二十五组", keys 姓名, 身份证, 手机号, and nothing else (the remember flag
// goes with the rest). The file is written on the file queue and replaced
// atomically; when that fails the user is told, with the path and the
// reason, and the old file stays untouched.
void SaveApplicants(MainWindow& window, const std::string& file = InformationFilePath());

// Fills the 75 applicant fields from the file once the file queue has read
// it; a missing file, section or key empties its field. Used marks and the
// phone-fill boxes stay.
void LoadApplicants(MainWindow& window, const std::string& file = InformationFilePath());

// The two halves of a load, for start-up, where nothing is shown yet and
// the fields must be filled before the window appears.
std::vector<std::string> ReadApplicants(const std::string& file);
void ShowApplicants(MainWindow& window, const std::vector<std::string>& values);
