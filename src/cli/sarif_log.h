// Findings as one SARIF 2.1.0 log, which code scanning of Git hosts and editors read:
// the tool with one rule per kind of finding, and a result per finding with its level,
// message and place (the file relative to the current folder, line and column).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/findings_output.h"

namespace cli_run {

std::string SarifLog(const std::vector<Finding>& findings, std::string_view cwd);

// A string as JSON writes it, in double quotes; bytes that are not UTF-8 taken as
// Latin-1 characters, so that the log is UTF-8 whatever the files' encoding.
std::string JsonString(std::string_view bytes);

// A file name as a URI reference: relative to cwd (with "/" between the parts) when the
// file lies below it, else a file: URI; every byte beyond the unreserved characters
// percent-encoded.
std::string FileUri(std::string_view file, std::string_view cwd);

}  // namespace cli_run
